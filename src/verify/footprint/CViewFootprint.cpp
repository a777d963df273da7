#include "verify/footprint/CViewFootprint.h"

CViewFootprint::CViewFootprint(CKestraCmdContext* command, CToolLauncher* launcher,
                               std::string mode, QWidget* parent)
    : PlaceholderDialog(13002, "Footprint", 1, parent),
      command_(command),
      launcher_(launcher),
      mode_(std::move(mode)) {}
