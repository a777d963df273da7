#include "verify/all/merge/ReportVerb.h"

#include <sstream>

#include "base/HelpWord.h"
#include "base/PrintableText.h"
#include "verify/FindingGate.h"
#include "verify/PathNames.h"
#include "verify/Waivers.h"
#include "verify/all/RunOutput.h"
#include "verify/all/history/FindingChanges.h"
#include "verify/all/jobs/ResultFile.h"
#include "verify/all/merge/ResultsMerge.h"
#include "verify/all/page/PageFiles.h"

namespace {

constexpr int kUsageStatus = 2;

constexpr const char* kReportUsage =
    "usage: kestra report merge RESULTS.json|FOLDER ... -html FILE [-previous RESULTS.json] "
    "[-json]\n"
    "         [-cluster-job ARRAY_JOB_ID] [-waivers FILE] [-fail-on error|warning|fatal]\n"
    "         [-min-severity LEVEL]\n"
    "  the results of kestra verify ... -json runs (a job list's results) as one report page;\n"
    "  a folder gives its .json files; a job list's result that is missing is unknown\n"
    "  -previous: an earlier run's -json results, for the changes since\n"
    "  -cluster-job: the Slurm array that ran the job list, for what became of its tasks\n"
    "%s";

}  // namespace

int RunReportVerb(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.empty() || words.front() != "merge") {
    if (!words.empty() && IsHelpWord(words[0])) {
      out << UsageWithFindingOptions(kReportUsage);
      return 0;
    }
    err << "kestra report: expected merge\n" << UsageWithFindingOptions(kReportUsage);
    return kUsageStatus;
  }
  std::vector<std::string> files;
  std::string html;
  std::string previousFile;
  std::string clusterJob;
  bool json = false;
  FindingOptions findingOptions;
  std::vector<std::string> rest = words;
  static constexpr std::string_view kMergeValued[] = {"-html", "-previous", "-cluster-job"};
  std::string optionError;
  if (!TakeFindingOptions(rest, kMergeValued, findingOptions, optionError) ||
      !LoadWaivers(findingOptions, "", optionError)) {
    err << "kestra report merge: " << PrintableText(optionError) << "\n";
    return kUsageStatus;
  }
  for (std::size_t i = 1; i < rest.size(); ++i) {
    const std::string& word = rest[i];
    if (IsHelpWord(word)) {
      out << UsageWithFindingOptions(kReportUsage);
      return 0;
    }
    if (word == "-json") {
      json = true;
    } else if (word == "-html" || word == "-previous" || word == "-cluster-job") {
      if (i + 1 >= rest.size()) {
        err << "kestra report merge: " << word
            << (word == "-cluster-job" ? " needs a job id\n" : " needs a file\n")
            << UsageWithFindingOptions(kReportUsage);
        return kUsageStatus;
      }
      (word == "-html" ? html : word == "-previous" ? previousFile : clusterJob) = rest[++i];
    } else if (!word.empty() && word.front() == '-') {
      err << "kestra report merge: unknown option " << PrintableText(word) << "\n"
          << UsageWithFindingOptions(kReportUsage);
      return kUsageStatus;
    } else {
      files.push_back(word);
    }
  }
  if (files.empty() || (html.empty() && !json)) {
    err << "kestra report merge: give the results files and -html FILE (or -json)\n"
        << UsageWithFindingOptions(kReportUsage);
    return kUsageStatus;
  }
  if (!clusterJob.empty() && clusterJob.find_first_not_of("0123456789") != std::string::npos) {
    err << "kestra report merge: -cluster-job needs a job id (digits), not \""
        << PrintableText(clusterJob) << "\"\n";
    return kUsageStatus;
  }
  // A job that never ran (a lost node, a killed array task) leaves an empty file; a job
  // list's results that are missing become unknown results.
  MergeOutcome merged = MergeResults({files, clusterJob, !html.empty()});
  if (!merged.error.empty()) {
    err << "kestra report merge: " << PrintableText(merged.error) << "\n";
    return kUsageStatus;
  }
  for (const std::string& warning : merged.warnings)
    err << "kestra report merge: warning: " << PrintableText(warning) << "\n";
  std::vector<VerifyResult>& results = merged.results;
  const std::vector<std::string>& flows = merged.flows;
  std::vector<VerifyResult> previous;
  if (!previousFile.empty()) {
    std::string error;
    auto read = ReadResultsJson(previousFile, error);
    if (!read) {
      err << "kestra report merge: " << PrintableText(previousFile) << ": " << PrintableText(error)
          << "\n";
      return kUsageStatus;
    }
    previous = std::move(*read);
  }
  const int judged = JudgeFindings(results, findingOptions, true, "kestra report merge: ", err);
  const int status = results.empty() ? kUsageStatus : judged;
  JudgeEarlierFindings(previous, findingOptions);
  if (json) WriteRunJson(results, FindingChangesSince(previous, results), out);
  if (!html.empty()) {
    // The page is the last use of the results: they move into it, and the summary after the
    // page's warnings is made before.
    std::ostringstream summary;
    WriteSummary(flows, results, summary);
    PageRequest page{html,
                     merged.title.empty() ? "merged results" : merged.title,
                     flows,
                     std::move(results),
                     {},
                     std::move(previous),
                     !previousFile.empty()};
    std::vector<std::string> warnings;
    std::string error;
    if (!WritePageWithLogs(std::move(page), warnings, error)) {
      err << "kestra report merge: " << PrintableText(error) << "\n";
      return kUsageStatus;
    }
    for (const std::string& text : warnings)
      err << "kestra report merge: warning: " << PrintableText(text) << "\n";
    err << summary.str();
    err << "report page: " << PrintableText(AbsolutePath(html)) << "\n";
  }
  return status;
}
