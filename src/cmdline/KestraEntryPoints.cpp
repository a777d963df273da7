#include "cmdline/KestraEntryPoints.h"

#include <iostream>

#include "cmdline/CommandTable.h"
#include "cmdline/VerbRunners.h"
#include "cmdline/VerbTable.h"
#include "cmdline/VerifyFlows.h"

int KestraRunVerb(int& argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  const VerbEntry* verb = FindVerb(words);
  const VerbRunner run = verb != nullptr ? ModuleVerbRunner(verb->name) : nullptr;
  if (run == nullptr) {
    std::cerr << "kestra: the module has no verb \"" << (words.empty() ? "" : words[0]) << "\"\n";
    return 2;
  }
  // The words are taken before the application object may take its own options out of argv.
  const std::vector<std::string> rest(words.begin() + static_cast<long>(VerbWordCount(*verb)),
                                      words.end());
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
