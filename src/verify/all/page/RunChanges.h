// What changed between two runs over the same parts: per part and flow the verdict before and
// after, new failures first. Standard C++ only.
#pragma once

#include <string>
#include <vector>

#include "verify/VerifyResult.h"

struct VerdictChange {
  enum class Kind { NewFailure, Fixed, Changed, Added, Removed };
  Kind kind = Kind::Changed;
  std::string library;
  std::string cell;
  std::string flow;
  std::string before;  // the verdict word ("not run" for a flow that did not apply), "" if none
  std::string after;   // likewise
};

// The word of a result on the page and in the text: the verdict's name, or "not run".
std::string VerdictWord(const VerifyResult& result);

// The changes from previous to current, in the order: new failures (now failed or unknown,
// before not), fixed (before failed or unknown, now not), other changes, parts added, parts
// removed; by library, part and flow within each. Parts that only one run covered appear
// as added or removed only when previous is not empty.
std::vector<VerdictChange> ChangesSince(const std::vector<VerifyResult>& previous,
                                        const std::vector<VerifyResult>& current);

// "new failure", "fixed", "changed", "new", "removed".
const char* ChangeKindName(VerdictChange::Kind kind);
