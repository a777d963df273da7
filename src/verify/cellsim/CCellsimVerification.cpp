#include "CCellsimVerification.h"

CCellsimVerification::CCellsimVerification(CKestraCmdLine* command, CToolLauncher* launcher,
                                           QWidget* parent)
    : PlaceholderDialog(13040, "Verify Tessel Libraries in Verilog Simulation Flow", 8, parent),
      command_(command),
      launcher_(launcher) {}
