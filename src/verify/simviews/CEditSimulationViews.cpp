#include "CEditSimulationViews.h"

CEditSimulationViews::CEditSimulationViews(CKestraCmdLine* command, CToolLauncher* launcher,
                                           QWidget* parent)
    : PlaceholderDialog(13005, "VHDL/Verilog Support", 8, parent),
      command_(command),
      launcher_(launcher) {}
