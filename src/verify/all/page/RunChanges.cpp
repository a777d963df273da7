#include "verify/all/page/RunChanges.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "verify/ResultOutput.h"

namespace {

using Key = std::tuple<std::string, std::string, std::string>;

bool Bad(const std::string& word) { return word == "failed" || word == "unknown"; }

std::map<Key, std::string> WordsByKey(const std::vector<VerifyResult>& results) {
  std::map<Key, std::string> words;
  for (const VerifyResult& result : results)
    words[{result.library, result.cell, result.flow}] = VerdictWord(result);
  return words;
}

}  // namespace

std::string VerdictWord(const VerifyResult& result) { return ResultVerdictName(result); }

const char* ChangeKindName(VerdictChange::Kind kind) {
  switch (kind) {
    case VerdictChange::Kind::NewFailure:
      return "new failure";
    case VerdictChange::Kind::Fixed:
      return "fixed";
    case VerdictChange::Kind::Changed:
      return "changed";
    case VerdictChange::Kind::Added:
      return "new";
    case VerdictChange::Kind::Removed:
      return "removed";
  }
  return "changed";
}

std::vector<VerdictChange> ChangesSince(const std::vector<VerifyResult>& previous,
                                        const std::vector<VerifyResult>& current) {
  std::vector<VerdictChange> changes;
  if (previous.empty()) return changes;
  const std::map<Key, std::string> before = WordsByKey(previous);
  const std::map<Key, std::string> after = WordsByKey(current);
  for (const auto& [key, word] : after) {
    const auto& [library, cell, flow] = key;
    const auto old = before.find(key);
    if (old == before.end()) {
      const auto kind = Bad(word) ? VerdictChange::Kind::NewFailure : VerdictChange::Kind::Added;
      changes.push_back({kind, library, cell, flow, "", word});
      continue;
    }
    if (old->second == word) continue;
    auto kind = VerdictChange::Kind::Changed;
    if (Bad(word) && !Bad(old->second)) kind = VerdictChange::Kind::NewFailure;
    if (!Bad(word) && Bad(old->second)) kind = VerdictChange::Kind::Fixed;
    changes.push_back({kind, library, cell, flow, old->second, word});
  }
  for (const auto& [key, word] : before) {
    if (after.count(key) != 0) continue;
    const auto& [library, cell, flow] = key;
    changes.push_back({VerdictChange::Kind::Removed, library, cell, flow, word, ""});
  }
  std::stable_sort(changes.begin(), changes.end(),
                   [](const VerdictChange& a, const VerdictChange& b) { return a.kind < b.kind; });
  return changes;
}
