// The headless verbs' runners (`kestra libs`, `kestra verify FLOW`, `kestra verify all`, ...):
// they run on files and sibling tools alone, without Qt, and make the headless library
// (lib/libkestraheadless.so), which the host loads for them instead of the module and the
// module loads with itself. Standard C++ and POSIX; one thread.
#pragma once

#include <string_view>

#include "cmdline/VerbTable.h"

// The runner of the verb of that name, or null when there is no such verb.
VerbRunner HeadlessVerbRunner(std::string_view name);
