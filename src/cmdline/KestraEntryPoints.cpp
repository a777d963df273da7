#include "cmdline/KestraEntryPoints.h"

#include <iostream>

#include "cmdline/CommandTable.h"
#include "cmdline/KestraHeadlessEntry.h"
#include "cmdline/VerifyFlowNames.h"

// The verbs need no Qt: they run in the headless library, which the module links.
int KestraRunVerb(int& argc, char** argv) { return KestraRunHeadlessVerb(argc, argv); }

std::vector<std::string> KestraVerifyFlowNames() {
  std::vector<std::string> names;
  for (const std::string_view flow : kVerifyFlowNames) names.emplace_back(flow);
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
