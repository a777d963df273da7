#include "host/HostHelp.h"

#include <iostream>

#include "cmdline/KestraEntryPoints.h"
#include "cmdline/VerbTable.h"
#include "cmdline/VerifyFlowNames.h"
#include "host/HostArguments.h"
#include "host/HostEnvironment.h"
#include "host/ModuleLibrary.h"
#include "host/NearestWord.h"

std::string HostUsage() {
  std::string usage = kHostUsage;
  // Named here rather than asked of the module: the usage loads no library.
  for (const VerbEntry& verb : VerbTable())
    usage += "       kestra " + std::string(verb.usage) + "\n";
  usage += kHostUsageEnd;
  usage += "FLOW is one of:";
  for (const std::string_view flow : kVerifyFlowNames) usage += " " + std::string(flow);
  return usage + ", or all (kestra verify lists them, kestra help verify FLOW shows a flow's " +
         "options)\n";
}

std::string HostVersion() { return std::string("kestra ") + KESTRA_VERSION; }

int RunVerb(const char* program, const std::vector<std::string>& words) {
  const VerbEntry* verb = FindVerb(words);
  if (verb == nullptr) return -1;
  const std::vector<std::string> rest(words.begin() + static_cast<long>(VerbWordCount(*verb)),
                                      words.end());
  if (verb->runInHost != nullptr)
    if (const std::optional<int> status = verb->runInHost(rest)) return *status;
  // The headless library's entry takes a command line like the host's.
  std::vector<std::string> line = {program};
  line.insert(line.end(), words.begin(), words.end());
  std::vector<char*> argv;
  for (std::string& word : line) argv.push_back(word.data());
  argv.push_back(nullptr);
  return HeadlessEntry()(static_cast<int>(line.size()), argv.data());
}

int RunHostHelp(const char* program, const std::vector<std::string>& words) {
  if (words.empty()) {
    std::cout << HostUsage();
    return 0;
  }
  // kestra help VERB [FLOW]: the verb's own help (for verify, the flow list or the flow's).
  if (FindVerb(words) != nullptr) {
    std::vector<std::string> help = words;
    help.push_back("-help");
    return RunVerb(program, help);
  }
  const std::string& verb = words.front();
  std::cerr << "kestra help: no verb \"" << verb << "\"";
  if (const std::string near = NearestWord(verb, VerbFirstWords()); !near.empty())
    std::cerr << "; did you mean \"" << near << "\"?";
  std::cerr << "\n" << HostUsage();
  return 2;
}
