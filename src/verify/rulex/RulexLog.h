// Reading the rules checker's log rx.msg: its "TOTAL" summary line near the end. Standard
// C++ only; any thread.
#pragma once

#include <istream>
#include <string>

#include "verify/rulex/RulexVerdict.h"

inline constexpr std::size_t kRulexLogMinimumSize = 512;
inline constexpr std::size_t kRulexLogTailSize = 256;

struct RulexLogResult {
  bool problem = true;  // the log is missing or carries no usable summary
  std::string text;     // the verdict text, or the reason of the problem
  RulexCounts counts;   // valid when !problem
  Verdict verdict = Verdict::Unknown;
};

// Reads the first "TOTAL " in the last 256 bytes of a log of at least 512 bytes and the six
// counts after it (info, oversights, warnings, errors, fatal, total). Each count is the
// number its word begins with, as atoi reads it ("3," is 3, a missing or wordless count 0);
// only a missing, short or summary-less log is a problem.
RulexLogResult ParseRulexLog(const std::string& logPath);

// The same on a log opened already as in (read from its end).
RulexLogResult ParseRulexLog(std::istream& in);

// The same on a log's text already in memory (size checks included).
RulexLogResult ParseRulexLogText(const std::string& content);
