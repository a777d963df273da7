#include "verify/template/CSetupTemplate.h"

CSetupTemplate::CSetupTemplate(CKestraCmdContext* command, CToolLauncher* launcher, QWidget* parent)
    : PlaceholderDialog(13001, "Setup Template", 8, parent),
      command_(command),
      launcher_(launcher) {}
