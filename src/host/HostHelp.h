// What kestra says about itself (the usage, the version and `kestra help [VERB ...]`) and how
// it runs a headless verb of the verb table. Main thread; a verb that needs the module loads it.
#pragma once

#include <string>
#include <vector>

// The host's usage, with the flows `kestra verify` runs.
std::string HostUsage();

// "kestra VERSION".
std::string HostVersion();

// Runs the verb the words begin with: in the host when the verb can run there for these words,
// otherwise through the headless library's KestraRunHeadlessVerb. program is argv[0]. The exit
// status, or -1 when the words name no verb.
int RunVerb(const char* program, const std::vector<std::string>& words);

// `kestra help`: the usage; `kestra help VERB [FLOW]`: that verb's (or flow's) own help.
// The exit status: 0, or 2 for a verb kestra does not have.
int RunHostHelp(const char* program, const std::vector<std::string>& words);
