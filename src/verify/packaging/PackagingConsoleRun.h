// `kestra verify packaging`: the packaging flow without dialogs. Progress on standard error;
// the results as VerifyResults for the shared outputs (one per part with -report). Needs a
// QApplication; UI thread.
#pragma once

#include "verify/VerifyFlow.h"

// The registry entry of the packaging flow.
VerifyFlow PackagingVerifyFlow();
