// `kestra verify simulation`: the simulation flow without dialogs. Progress on standard
// error; one VerifyResult for the run. Needs a QApplication; UI thread.
#pragma once

#include "verify/VerifyFlow.h"

// The registry entry of the simulation flow.
VerifyFlow CellsimVerifyFlow();
