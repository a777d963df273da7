// The launch log: with KESTRA_LAUNCH_LOG=<file> every start appends one JSON line
// {"operation", "program", "arguments", "executable", "product", "owner"} so that scripts
// and tests can see exactly what was started. Any thread; each line is one append.
#pragma once

#include <string>

struct LaunchRecord {
  std::string operation;
  std::string program;     // the resolved program
  std::string arguments;   // the argument text exactly as the caller composed it
  std::string executable;  // the executable text the caller gave ("" when none)
  std::string product;
  std::string owner;  // the owner window's class, or "none"
};

// Appends the record when KESTRA_LAUNCH_LOG is set; problems writing it are ignored, a
// log must never stop a tool from starting.
void AppendLaunchRecord(const LaunchRecord& record);
