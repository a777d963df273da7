// The command line of tak: a verb, its words and the options -level N and -proj FILE.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct TakArguments {
  std::string verb;
  std::vector<std::string> words;  // everything that is not an option, in order
  std::optional<int> level;
  std::optional<std::string> project;
  std::optional<int> waitSeconds;  // -wait: how long set waits for other tools
  bool help = false;
};

// Parses argv after the program name. nullopt (with error set) on bad usage.
std::optional<TakArguments> ParseTakArguments(const std::vector<std::string>& argv,
                                              std::string& error);

// The usage text printed for -help and after a usage error.
const char* TakUsage();
