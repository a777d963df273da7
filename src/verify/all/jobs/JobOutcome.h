// The result of one job of a run over many parts, from how it ended and what it wrote: its
// results file read back and named as the plan names the part, or why there is no verdict
// (timed out, stopped, not started, ended by a signal, nothing written). Standard C++ only.
#pragma once

#include <string>

#include "verify/VerifyResult.h"
#include "verify/all/jobs/JobRunner.h"
#include "verify/all/jobs/PartJobs.h"

// output and errors: the job's files for standard output (its -json results) and error.
VerifyResult JobResult(const PartJob& job, const JobEnd& end, const std::string& output,
                       const std::string& errors, long timeLimit);
