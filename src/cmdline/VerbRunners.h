// The module's runners of the headless verbs of VerbTable.h, found by the verb's name. A
// runner takes the words after the verb and returns the process exit status; it runs on the
// UI thread, inside the application object when the verb's entry needs one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

using VerbRunner = int (*)(const std::vector<std::string>& words);

// The runner of the verb of that name, or null when the module has none.
VerbRunner ModuleVerbRunner(std::string_view name);
