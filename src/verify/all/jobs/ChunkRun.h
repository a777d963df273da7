// A chunk of a job list (`kestra verify all -plan FILE -chunk N`): the jobs of N parts in one
// file, one JSON line each, run by one command line (`kestra verify all -jobs FILE`) in a
// long-lived worker, so that a cluster's array task or a GNU parallel slot checks many parts
// for one kestra start. Each job's result record goes to its own results file, where
// `kestra report merge` finds it: a verdict, or "unknown" naming why there is none (a time
// limit, a worker that died). Standard C++ and POSIX; one thread.
#pragma once

#include <ostream>
#include <string>

#include "verify/all/jobs/JobRunner.h"
#include "verify/all/jobs/PartJobs.h"

// The line of one job in a chunk file: the part, the flow and the job's command.
std::string ChunkJobLine(const PartJob& job, const JobCommand& command);

// Runs the jobs of chunkFile one after another, each with the time limit, and writes each
// job's result record into its output file. Progress goes to err. The exit status: 0 when
// every job has its result file (whatever the verdicts: the page tells them), 2 when the
// chunk file cannot be read or a result cannot be written.
int RunChunk(const std::string& chunkFile, long timeLimit, std::ostream& err);
