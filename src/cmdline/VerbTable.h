// The headless verbs of `kestra` (`kestra libs`, `kestra verify all`, ...): each verb's name,
// summary, usage line and where it runs. Standard C++ without Qt, so that the host reads it
// without loading anything: the usage, `kestra help VERB` and the choice of where a verb runs
// come from here. A verb runs in the host itself (runInHost) or in the headless library
// (lib/libkestraheadless.so: standard C++, no Qt; HeadlessRunners.h), never in the module.
// Constant data; any thread.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct VerbEntry {
  std::string_view name;     // the verb's words: "libs", or "verify all" for two words
  std::string_view summary;  // what it does, one line
  std::string_view usage;    // the usage line after "kestra "
  // Runs the verb's words (those after the verb) in the host itself, without loading any
  // library, when it can; nullopt sends them to the headless library. Null for a verb that
  // always runs there.
  std::optional<int> (*runInHost)(const std::vector<std::string>& words) = nullptr;
};

// A verb's runner: takes the words after the verb and returns the process exit status.
using VerbRunner = int (*)(const std::vector<std::string>& words);

// A runner by its verb's name, in a library's list of runners.
struct NamedRunner {
  std::string_view name;
  VerbRunner run;
};

// The runner named name in runners, or null.
VerbRunner FindRunner(std::span<const NamedRunner> runners, std::string_view name);

// The verbs in the order the usage lists them.
std::span<const VerbEntry> VerbTable();

// The verb the words of a command line begin with (the longest name that matches, so
// "verify all" before "verify"), or null.
const VerbEntry* FindVerb(const std::vector<std::string>& words);

// How many words the verb's name has.
std::size_t VerbWordCount(const VerbEntry& verb);

// The first words of the verbs, each once, in table order: what `kestra help` offers.
std::vector<std::string> VerbFirstWords();
