// `kestra verify FLOW ...`: a verification flow without dialogs, for scripts and CI.
#pragma once

#include <string>
#include <vector>

// args are the words after "verify" (the flow first). Returns the process exit status:
// 0 passed, 1 failed, 2 status unknown or the run could not be made, 3 passed with warnings.
int RunVerifyCommand(const std::vector<std::string>& args);
