#include "verify/all/cluster/ClusterRun.h"

#include <filesystem>

#include "base/PrintableText.h"
#include "verify/StopSignals.h"
#include "verify/all/cluster/SlurmJobs.h"
#include "verify/all/jobs/ResultFile.h"

namespace {

constexpr int kRunProblemStatus = 2;
constexpr auto kPollInterval = std::chrono::milliseconds(1000);
constexpr auto kProgressInterval = std::chrono::seconds(10);

// The results written so far: the non-empty .json files of the results folder.
std::size_t ResultsIn(const std::string& folder) {
  std::size_t count = 0;
  std::error_code code;
  for (const auto& entry : std::filesystem::directory_iterator(folder, code)) {
    if (entry.path().extension() == ".json" && entry.is_regular_file(code) &&
        entry.file_size(code) > 0)
      ++count;
  }
  return count;
}

}  // namespace

ClusterRunOutcome RunOnCluster(const ClusterRunRequest& request, std::ostream& out,
                               std::ostream& err) {
  ClusterRunOutcome outcome;
  std::string error;
  const auto jobs = SubmitArrayScript(request.script, request.sbatchArgs, error);
  if (!jobs) {
    err << "kestra verify all: " << PrintableText(error) << "\n";
    outcome.status = kRunProblemStatus;
    return outcome;
  }
  out << "array job: " << PrintableText(jobs->array) << "\n"
      << "merge job: " << PrintableText(jobs->merge) << "\n";
  if (!request.wait) {
    err << "report page (once the merge job has ended): " << PrintableText(request.page) << "\n";
    return outcome;
  }
  err << "kestra verify all: waiting for the merge job " << PrintableText(jobs->merge)
      << " (Ctrl-C stops the wait"
      << (request.cancelOnInterrupt ? " and cancels the jobs)" : ", the jobs go on)") << "\n";
  const StopSignals signals;
  // Progress on standard error: how many results are in, when that changed, now and then.
  std::size_t told = 0;
  auto nextTelling = std::chrono::steady_clock::now() + kProgressInterval;
  const auto keepWaiting = [&] {
    if (std::chrono::steady_clock::now() >= nextTelling) {
      nextTelling += kProgressInterval;
      if (const std::size_t in = ResultsIn(request.results); in != told) {
        told = in;
        err << "kestra verify all: " << in << " of " << request.expected << " results in\n";
      }
    }
    return signals.Caught() == 0;
  };
  const auto unreachable = [&](const std::string& why) {
    err << "kestra verify all: warning: the Slurm controller does not answer ("
        << PrintableText(why) << "); still waiting\n";
  };
  const auto state = WaitForJob(jobs->merge, kPollInterval, keepWaiting, unreachable);
  if (!state) {
    outcome.stopSignal = signals.Caught();
    if (request.cancelOnInterrupt) {
      const std::string said = CancelJobs({jobs->array, jobs->merge});
      err << "kestra verify all: cancelled the cluster jobs " << PrintableText(jobs->array)
          << " and " << PrintableText(jobs->merge)
          << (said.empty() ? "" : " (scancel: " + PrintableText(said) + ")") << "\n";
    } else {
      err << "kestra verify all: stopped waiting; the cluster jobs " << PrintableText(jobs->array)
          << " and " << PrintableText(jobs->merge) << " go on (scancel "
          << PrintableText(jobs->array) << " " << PrintableText(jobs->merge) << " stops them)\n";
    }
    return outcome;
  }
  auto results = ReadResultsJson(request.merged, error);
  if (!results) {
    err << "kestra verify all: the merge job " << PrintableText(jobs->merge) << " ended"
        << (state->empty() ? "" : " with " + PrintableText(*state)) << " without merged results ("
        << PrintableText(error) << "); see its error file "
        << "slurm-merge-" << PrintableText(jobs->merge) << ".err beside the results\n";
    outcome.status = kRunProblemStatus;
    return outcome;
  }
  outcome.results = std::move(*results);
  return outcome;
}
