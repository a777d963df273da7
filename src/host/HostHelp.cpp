#include "host/HostHelp.h"

#include <iostream>

#include "cmdline/KestraEntryPoints.h"
#include "cmdline/VerifyFlowNames.h"
#include "host/HostArguments.h"
#include "host/ModuleLibrary.h"
#include "host/NearestWord.h"

std::string HostUsage() {
  std::string usage = kHostUsage;
  usage += "FLOW is one of:";
  // Named here rather than asked of the module: the usage loads no library.
  for (const std::string_view flow : kVerifyFlowNames) usage += " " + std::string(flow);
  return usage + ", or all (kestra verify lists them, kestra help verify FLOW shows a flow's " +
         "options)\n";
}

std::string HostVersion() { return std::string("kestra ") + KESTRA_VERSION; }

int RunHostHelp(const std::vector<std::string>& words) {
  if (words.empty()) {
    std::cout << HostUsage();
    return 0;
  }
  const std::vector<std::string> help = {"-help"};
  const std::string& verb = words.front();
  if (verb == "verify") {
    // kestra help verify [FLOW]: the flow list, or the flow's options.
    std::vector<std::string> flowHelp(words.begin() + 1, words.end());
    flowHelp.push_back("-help");
    return KESTRA_MODULE(KestraVerifyMain)(words.size() == 1 ? help : flowHelp);
  }
  if (verb == "libs") return KESTRA_MODULE(KestraLibsMain)(help);
  if (verb == "footprints") return KESTRA_MODULE(KestraFootprintsMain)(help);
  if (verb == "template") return KESTRA_MODULE(KestraTemplateMain)(help);
  if (verb == "report") return KESTRA_MODULE(KestraReportMain)(help);
  if (verb == "waive") return KESTRA_MODULE(KestraWaiveMain)(help);
  const std::vector<std::string> verbs = {"verify",   "libs",   "footprints",
                                          "template", "report", "waive"};
  std::cerr << "kestra help: no verb \"" << verb << "\"";
  if (const std::string near = NearestWord(verb, verbs); !near.empty())
    std::cerr << "; did you mean \"" << near << "\"?";
  std::cerr << "\n" << HostUsage();
  return 2;
}
