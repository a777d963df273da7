// What kestra says about itself: the usage, the version and `kestra help [VERB ...]`.
// UI thread (a verb's own help comes from the module's entry points).
#pragma once

#include <string>
#include <vector>

// The host's usage, with the flows `kestra verify` runs.
std::string HostUsage();

// "kestra VERSION".
std::string HostVersion();

// `kestra help`: the usage; `kestra help VERB [FLOW]`: that verb's (or flow's) own help.
// The exit status: 0, or 2 for a verb kestra does not have.
int RunHostHelp(const std::vector<std::string>& words);
