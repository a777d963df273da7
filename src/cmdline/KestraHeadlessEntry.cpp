#include "cmdline/KestraHeadlessEntry.h"

#include <iostream>
#include <string>
#include <vector>

#include "cmdline/HeadlessRunners.h"
#include "cmdline/ToolCommands.h"
#include "cmdline/VerbTable.h"

int KestraRunHeadlessVerb(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  const VerbEntry* verb = FindVerb(words);
  const VerbRunner run = verb != nullptr ? HeadlessVerbRunner(verb->name) : nullptr;
  if (run == nullptr) {
    std::cerr << "kestra: no verb \"" << (words.empty() ? "" : words[0]) << "\"\n";
    return 2;
  }
  return run({words.begin() + static_cast<long>(VerbWordCount(*verb)), words.end()});
}

int KestraRunToolCommand(const char* product, const char* project, const char* mode,
                         const char* mpsSession, const char* mpsHost, KestraToolTeller tell,
                         void* context) {
  const CommandValues values{product, project, mode, mpsSession, mpsHost};
  switch (RunToolCommand(values, [&](const std::string& text, bool error) {
    tell(text.c_str(), error ? 1 : 0, context);
  })) {
    case ToolCommandOutcome::kStarted:
      return 0;
    case ToolCommandOutcome::kNotStarted:
      return 2;
    case ToolCommandOutcome::kNotAToolCommand:
      break;
  }
  return -1;
}
