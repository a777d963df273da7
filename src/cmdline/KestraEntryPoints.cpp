#include "cmdline/KestraEntryPoints.h"

#include <iostream>

#include "cmdline/CommandTable.h"
#include "cmdline/KestraHeadlessEntry.h"
#include "cmdline/VerbRunners.h"
#include "cmdline/VerbTable.h"
#include "cmdline/VerifyFlows.h"

int KestraRunVerb(int& argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  const VerbEntry* verb = FindVerb(words);
  if (verb == nullptr) {
    std::cerr << "kestra: the module has no verb \"" << (words.empty() ? "" : words[0]) << "\"\n";
    return 2;
  }
  // The words are taken before the application object may take its own options out of argv.
  const std::vector<std::string> rest(words.begin() + static_cast<long>(VerbWordCount(*verb)),
                                      words.end());
  // What the host runs without the module runs here the same way.
  if (verb->runsHeadless != nullptr && verb->runsHeadless(rest))
    return KestraRunHeadlessVerb(argc, argv);
  const VerbRunner run = ModuleVerbRunner(verb->name);
  if (run == nullptr) {
    std::cerr << "kestra: the module has no verb \"" << words[0] << "\"\n";
    return 2;
  }
  if (!verb->needsApplication) return run(rest);
  return KestraRunInApplication(argc, argv, [&] { return run(rest); });
}

std::vector<std::string> KestraVerifyFlowNames() {
  std::vector<std::string> names;
  for (const VerifyFlow& flow : RegisteredFlows()) names.emplace_back(flow.name);
  return names;
}

std::vector<std::string> KestraCommandNames() {
  std::vector<std::string> names;
  for (const CommandEntry& entry : CommandTable()) names.emplace_back(entry.name);
  return names;
}

bool KestraCommandOpensDialog(const std::string& mode) {
  const CommandEntry* entry = FindCommand(mode);
  return entry != nullptr && entry->opensDialog;
}
