// The outcome of a rules-checker run as a value: the six counts of the log's "TOTAL" line and
// the verdict they give. Text is made from it only at the end. Standard C++ only; value
// types, any thread.
#pragma once

#include <string>

#include "verify/Verdict.h"

// The counts in the order of the "TOTAL" line. Each keeps the token it was read from,
// because the verdict text quotes the log's own characters.
struct RulexCounts {
  enum Index { Info, Oversights, Warnings, Errors, Fatal, Total, kCount };
  long value[kCount] = {};
  std::string token[kCount];
};

// Failed when errors or fatal errors are counted, passed with warnings when warnings are,
// passed otherwise.
Verdict VerdictOf(const RulexCounts& counts);

// "passed. " for a clean log, else the status ("passed. " or "failed. ") followed by the
// non-zero counts: "failed.  Warnings:2 Errors:1", "passed.   Info:4 Oversight:1".
std::string VerdictText(const RulexCounts& counts);
