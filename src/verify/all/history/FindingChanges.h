// The findings that came and went between two runs over the same parts: a finding is the same
// when its library, part, flow, rule and object are. Only checks that ran in both runs are
// compared, so a part new to this run or one that was not run gives no finding changes.
// Standard C++ only.
#pragma once

#include <string>
#include <vector>

#include "verify/VerifyResult.h"

struct FindingChange {
  bool fixed = false;  // gone since the previous run; else new in this one
  std::string library;
  std::string part;
  std::string flow;
  Finding finding;
};

// The new findings of current (in its order), then the fixed ones of previous.
std::vector<FindingChange> FindingChangesSince(const std::vector<VerifyResult>& previous,
                                               const std::vector<VerifyResult>& current);

// "new finding: standard/7432 rulex: prop_present 7432_DIP14: message" or "fixed finding: ...".
std::string FindingChangeText(const FindingChange& change);
