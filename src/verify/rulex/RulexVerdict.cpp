#include "verify/rulex/RulexVerdict.h"

Verdict VerdictOf(const RulexCounts& counts) {
  const auto& v = counts.value;
  if (v[RulexCounts::Errors] != 0 || v[RulexCounts::Fatal] != 0) return Verdict::Failed;
  if (v[RulexCounts::Warnings] != 0) return Verdict::PassedWithWarnings;
  return Verdict::Passed;
}

std::string VerdictText(const RulexCounts& counts) {
  const auto& v = counts.value;
  const auto& t = counts.token;
  bool anyCount = false;
  for (int i = 0; i < RulexCounts::Total; ++i) anyCount = anyCount || v[i] != 0;
  // A zero total means a clean run. Counts beside a zero total make the log inconsistent;
  // they are then reported (and errors still fail the run) instead of reading "passed".
  if (v[RulexCounts::Total] == 0 && !anyCount) return "passed. ";

  std::string status = "passed. ";
  std::string text;
  // The leading blanks of these pieces are part of the established result texts.
  if (v[RulexCounts::Info] != 0) text = " Info:" + t[RulexCounts::Info];
  if (v[RulexCounts::Oversights] != 0)
    text = " " + text + " Oversight:" + t[RulexCounts::Oversights];
  if (v[RulexCounts::Warnings] != 0) text += " Warnings:" + t[RulexCounts::Warnings];
  if (v[RulexCounts::Errors] != 0) {
    text += " Errors:" + t[RulexCounts::Errors];
    status = "failed. ";
  }
  if (v[RulexCounts::Fatal] != 0) {
    text += " Fatal:" + t[RulexCounts::Fatal];
    status = "failed. ";
  }
  return status + text;
}
