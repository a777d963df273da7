#include "verify/FindingGate.h"

#include <algorithm>

#include "base/PrintableText.h"
#include "verify/ResultOutput.h"
#include "verify/WaiverFile.h"

namespace {

std::optional<Severity> GateWord(const std::string& option, const std::string& word,
                                 bool infoAllowed, std::string& error) {
  const auto severity = SeverityOfWord(word);
  if (!severity || word == "oversight" || (!infoAllowed && *severity == Severity::Info)) {
    error =
        option +
        (infoAllowed ? " needs info, warning, error or fatal" : " needs error, warning or fatal") +
        ", not \"" + word + "\"";
    return std::nullopt;
  }
  return severity;
}

}  // namespace

bool TakeFindingOptions(std::vector<std::string>& words, std::span<const std::string_view> valued,
                        FindingOptions& options, std::string& error) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    const bool ours = word == "-waivers" || word == "-fail-on" || word == "-min-severity";
    if (!ours) {
      rest.push_back(word);
      if (std::find(valued.begin(), valued.end(), word) != valued.end() && i + 1 < words.size())
        rest.push_back(words[++i]);
      continue;
    }
    if (i + 1 >= words.size()) {
      error = word + " needs a value";
      return false;
    }
    const std::string& value = words[++i];
    if (word == "-waivers") {
      options.waiverFile = value;
    } else if (word == "-fail-on") {
      options.failOn = GateWord(word, value, false, error);
      if (!options.failOn) return false;
    } else {
      options.minSeverity = GateWord(word, value, true, error);
      if (!options.minSeverity) return false;
    }
  }
  words = std::move(rest);
  return true;
}

bool LoadWaivers(FindingOptions& options, const std::string& projectFile, std::string& error) {
  const std::string file = WaiverFileOf(options.waiverFile, projectFile);
  if (file.empty()) return true;
  auto waivers = ReadWaiverFile(file, error);
  if (!waivers) return false;
  options.waivers = std::move(*waivers);
  return true;
}

void WaiveFindings(std::vector<VerifyResult>& results, const FindingOptions& options,
                   bool reportStale, const std::string& prefix, std::ostream& err) {
  if (options.waivers.empty()) return;
  const WaiverNotes notes = ApplyWaivers(results, options.waivers, TodayDate());
  for (const std::string& note : notes.expired)
    err << prefix << "warning: " << PrintableText(note) << "\n";
  if (!reportStale) return;
  for (const std::string& note : notes.stale)
    err << prefix << "warning: stale: " << PrintableText(note) << "\n";
}

int GateStatus(const std::vector<VerifyResult>& results, const FindingOptions& options) {
  const Verdict worst = WorstVerdict(results);
  if (!options.failOn || worst == Verdict::Unknown) return ExitStatusOf(worst);
  const Severity gate = *options.failOn;
  for (const VerifyResult& result : results) {
    if (result.notRun) continue;
    if (result.verdict == Verdict::Failed && gate <= Severity::Error) return 1;
    if (result.verdict == Verdict::PassedWithWarnings && gate <= Severity::Warning) return 1;
    for (const Finding& finding : result.findings) {
      if (finding.waived.empty() && finding.severity >= gate) return 1;
    }
  }
  return 0;
}

void DropLesserFindings(std::vector<VerifyResult>& results, const FindingOptions& options) {
  if (!options.minSeverity) return;
  for (VerifyResult& result : results) {
    std::erase_if(result.findings,
                  [&](const Finding& finding) { return finding.severity < *options.minSeverity; });
  }
}

int JudgeFindings(std::vector<VerifyResult>& results, const FindingOptions& options,
                  bool reportStale, const std::string& prefix, std::ostream& err) {
  WaiveFindings(results, options, reportStale, prefix, err);
  const int status = GateStatus(results, options);
  DropLesserFindings(results, options);
  return status;
}

void JudgeEarlierFindings(std::vector<VerifyResult>& previous, const FindingOptions& options) {
  ApplyWaivers(previous, options.waivers, TodayDate());
  DropLesserFindings(previous, options);
}
