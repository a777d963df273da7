#include "verify/all/RunOutput.h"

#include <nlohmann/json.hpp>

#include "verify/FindingGate.h"
#include "verify/ResultOutput.h"

std::string UsageWithFindingOptions(const char* usage) {
  std::string text = usage;
  return text.replace(text.find("%s"), 2, kFindingOptionsUsage);
}

void WriteSummary(const std::vector<std::string>& flows, const std::vector<VerifyResult>& results,
                  std::ostream& err) {
  for (const std::string& flow : flows) {
    long counts[6] = {};
    for (const VerifyResult& result : results) {
      if (result.flow != flow) continue;
      ++counts[result.notRun ? 4 : result.waived ? 5 : static_cast<int>(result.verdict)];
    }
    // Passed by waivers is never counted as plainly passed.
    err << "summary: " << flow << ": " << counts[0] << " passed, " << counts[3]
        << " passed with warnings, " << counts[1] << " failed, " << counts[2] << " unknown, "
        << counts[4] << " not run";
    if (counts[5] > 0) err << ", " << counts[5] << " passed (waived)";
    err << "\n";
  }
}

void WriteRunJson(const std::vector<VerifyResult>& results,
                  const std::vector<FindingChange>& changes, std::ostream& out) {
  // A single record has no place for them; a run over one check has no history to speak of.
  if (results.size() == 1) {
    WriteResultsJson(results, out);
    return;
  }
  nlohmann::json json = {{"new_findings", nlohmann::json::array()},
                         {"fixed_findings", nlohmann::json::array()}};
  for (const FindingChange& change : changes) {
    nlohmann::json record = {{"library", change.library},
                             {"part", change.part},
                             {"flow", change.flow},
                             {"rule", change.finding.rule},
                             {"object", change.finding.object},
                             {"severity", SeverityName(change.finding.severity)},
                             {"message", change.finding.message}};
    json[change.fixed ? "fixed_findings" : "new_findings"].push_back(std::move(record));
  }
  WriteResultsJson(results, out,
                   json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}
