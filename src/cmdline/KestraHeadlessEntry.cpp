#include "cmdline/KestraHeadlessEntry.h"

#include <iostream>
#include <string>
#include <vector>

#include "cmdline/HeadlessRunners.h"
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
