// The verbs that run on files and sibling tools alone, without Qt: `kestra libs`, `kestra
// footprints`, `kestra import kicad`, `kestra report merge`, `kestra waive` and `kestra
// verify FLOW` for the flows whose runs need no Qt. They make the headless library
// (lib/libkestraheadless.so), which the host loads for them instead of the module and the
// module loads with itself. Standard C++ and POSIX; one thread.
#pragma once

#include <string_view>

#include "cmdline/VerbTable.h"

// The runner of the verb of that name, or null when the verb needs the module.
VerbRunner HeadlessVerbRunner(std::string_view name);
