// The host's command line: `-product P -proj FILE.tak -mode COMMAND [-mpssession S
// -mpshost H]` or `-help`. Pure function; any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct HostArguments {
  bool help = false;
  std::string product;
  std::string project;
  std::string mode;
  std::optional<std::string> mpsSession;
  std::optional<std::string> mpsHost;
};

// The parsed arguments (the words after the program name), or the reason they are wrong.
struct HostParse {
  std::optional<HostArguments> arguments;
  std::string error;
};

HostParse ParseHostArguments(const std::vector<std::string>& words);

// The usage printed for -help and after a bad command line begins with kHostUsage (the
// command form), lists the verbs' usage lines and ends with kHostUsageEnd (help, version and
// the commands).
extern const char* const kHostUsage;
extern const char* const kHostUsageEnd;
