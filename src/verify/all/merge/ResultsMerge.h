// `kestra report merge` before the page: the results files of one job list (or of runs that
// name none) read as one set. Results of two projects or of two job lists are refused, naming
// both; a part and flow given twice keeps the later result and says so; every result a job
// list's line should have written (its FILE.d/plan.json says which) and did not is an unknown
// result, "no result", or, for the lines of a cluster job array, what became of their task
// ("the cluster job 12_3 ended with CANCELLED"). Standard C++; runs sacct or scontrol when
// given a cluster job; one thread.
#pragma once

#include <string>
#include <vector>

#include "verify/VerifyResult.h"

struct MergeRequest {
  std::vector<std::string> files;  // results files, or folders of them, in order
  std::string clusterJob;          // the array job whose task i ran line i; "" for none
  bool checkLogs = false;          // leave out logs the page must not publish
};

struct MergeOutcome {
  std::vector<VerifyResult> results;
  std::vector<std::string> flows;     // in the order first met
  std::vector<std::string> warnings;  // for standard error
  std::string title;                  // the project, when the job list names it
  std::string error;                  // why the files are refused; "" when merged
};

MergeOutcome MergeResults(const MergeRequest& request);

// The .json files of folder in their natural order ("2.rulex.json" before "10.rulex.json").
std::vector<std::string> ResultsFilesIn(const std::string& folder);
