// The module's runners of the headless verbs of VerbTable.h that need it (the flows that run
// their tools through the launcher, `kestra verify all`, `kestra template`), found by the
// verb's name. A runner runs on the UI thread, inside the application object when the verb's
// entry needs one.
#pragma once

#include <string_view>

#include "cmdline/VerbTable.h"

// The runner of the verb of that name, or null when the module has none.
VerbRunner ModuleVerbRunner(std::string_view name);
