// The in-process side of `kestra verify all`: a long-lived worker (`kestra verify all -worker`)
// that reads jobs, one line each, and runs each through `kestra verify FLOW` in this process,
// so that only the sibling tool is a new process per part. A job line is a JSON object with the
// job's words after the program ("verify", the flow, its words), the file for its results and
// the file for everything it says; the worker answers "done STATUS" on its reply channel once
// the job's files are complete. Standard C++ and POSIX; one thread; the flows need a
// QApplication, as for `kestra verify FLOW`.
#pragma once

#include <span>
#include <string>

#include "verify/VerifyFlow.h"
#include "verify/all/jobs/JobRunner.h"

// The job's line for a worker: its argv without the program, its output and errors files.
std::string WorkerJobLine(const JobCommand& command);

// Runs the jobs read from inputFd (up to its end) one after another and writes the reply line
// to replyFd after each. Between and during jobs standard input is /dev/null and standard
// output and error go to the job's errors file, so that nothing a flow or a tool says can
// reach the reply channel. Returns 0, or 2 for a line that is not a job.
int RunJobWorker(int inputFd, int replyFd, std::span<const VerifyFlow> flows);
