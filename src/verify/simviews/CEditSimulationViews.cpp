#include "verify/simviews/CEditSimulationViews.h"

CEditSimulationViews::CEditSimulationViews(CKestraCmdContext* command, CToolLauncher* launcher,
                                           QWidget* parent)
    : PlaceholderDialog(13005, "VHDL/Verilog Support", 8, parent),
      command_(command),
      launcher_(launcher) {}
