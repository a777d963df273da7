// `kestra verify rulex`: the rules-checker flow without dialogs. Progress on standard error;
// the result as a VerifyResult for the shared outputs. Standard C++ and POSIX: the verb needs
// no QApplication and loads no Qt.
#pragma once

#include "verify/VerifyFlow.h"

// The registry entry of the rules checker.
VerifyFlow RulexVerifyFlow();
