#include "verify/cellsim/CCellsimVerification.h"

CCellsimVerification::CCellsimVerification(CKestraCmdContext* command, CToolLauncher* launcher,
                                           QWidget* parent)
    : PlaceholderDialog(13040, "Verify Tessel Libraries in Verilog Simulation Flow", 8, parent),
      command_(command),
      launcher_(launcher) {}
