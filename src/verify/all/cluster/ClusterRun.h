// `kestra verify all -slurm`: a written array script submitted with its merge job, the job ids
// told, and with -wait the merged results once the merge job has ended. Ctrl-C (SIGINT,
// SIGTERM, SIGHUP) while waiting stops the wait only, unless cancelOnInterrupt asks for the
// jobs to be cancelled too. Standard C++ and POSIX; one thread.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "verify/VerifyResult.h"

struct ClusterRunRequest {
  std::string script;  // the array script (SlurmScript.h), written
  std::vector<std::string> sbatchArgs;
  bool wait = false;
  bool cancelOnInterrupt = false;
  std::string merged;        // where the merge job writes its -json output
  std::string page;          // where it writes the page
  std::string results;       // the results folder, watched for progress while waiting
  std::size_t expected = 0;  // the results files the run gives
};

struct ClusterRunOutcome {
  int status = 0;      // 2 when the jobs were refused or the merge gave nothing; 0 once submitted
  int stopSignal = 0;  // the signal that ended the wait; 0 for none
  // With wait: the merged results (empty when the merge gave none).
  std::optional<std::vector<VerifyResult>> results;
};

ClusterRunOutcome RunOnCluster(const ClusterRunRequest& request, std::ostream& out,
                               std::ostream& err);
