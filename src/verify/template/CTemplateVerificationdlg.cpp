#include "verify/template/CTemplateVerificationdlg.h"

CTemplateVerificationdlg::CTemplateVerificationdlg(CKestraCmdContext* command,
                                                   CToolLauncher* launcher, QWidget* parent)
    : PlaceholderDialog(13008, "Verify Tessel Libraries with Template", 8, parent),
      command_(command),
      launcher_(launcher) {}
