#include "verify/all/history/FindingChanges.h"

#include <map>
#include <set>
#include <tuple>

namespace {

using Check = std::tuple<std::string, std::string, std::string>;  // library, cell, flow
using Key = std::tuple<std::string, std::string, std::string>;    // part, rule, object

std::map<Check, const VerifyResult*> ChecksThatRan(const std::vector<VerifyResult>& results) {
  std::map<Check, const VerifyResult*> checks;
  for (const VerifyResult& result : results) {
    if (!result.notRun && result.verdict != Verdict::Unknown)
      checks[{result.library, result.cell, result.flow}] = &result;
  }
  return checks;
}

std::string PartOf(const VerifyResult& result, const Finding& finding) {
  return finding.part.empty() ? result.cell : finding.part;
}

std::set<Key> Keys(const VerifyResult& result) {
  std::set<Key> keys;
  for (const Finding& finding : result.findings)
    keys.insert({PartOf(result, finding), finding.rule, finding.object});
  return keys;
}

// The findings of from whose key other lacks, once per key.
void Missing(const VerifyResult& from, const VerifyResult& other, bool fixed,
             std::vector<FindingChange>& changes) {
  const std::set<Key> keys = Keys(other);
  std::set<Key> said;
  for (const Finding& finding : from.findings) {
    const Key key{PartOf(from, finding), finding.rule, finding.object};
    if (keys.count(key) != 0 || !said.insert(key).second) continue;
    changes.push_back({fixed, from.library, std::get<0>(key), from.flow, finding});
  }
}

}  // namespace

std::vector<FindingChange> FindingChangesSince(const std::vector<VerifyResult>& previous,
                                               const std::vector<VerifyResult>& current) {
  const auto before = ChecksThatRan(previous);
  const auto now = ChecksThatRan(current);
  std::vector<FindingChange> added;
  std::vector<FindingChange> fixed;
  for (const auto& [check, result] : now) {
    const auto earlier = before.find(check);
    if (earlier == before.end()) continue;
    // A report cut short says nothing about the findings it left out.
    if (result->findingsTruncated || earlier->second->findingsTruncated) continue;
    Missing(*result, *earlier->second, false, added);
    Missing(*earlier->second, *result, true, fixed);
  }
  added.insert(added.end(), fixed.begin(), fixed.end());
  return added;
}

std::string FindingChangeText(const FindingChange& change) {
  return std::string(change.fixed ? "fixed finding: " : "new finding: ") + change.library + "/" +
         change.part + " " + change.flow + ": " + FindingText(change.finding);
}
