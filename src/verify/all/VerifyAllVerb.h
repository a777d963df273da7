// `kestra verify all`: every flow that checks parts, on every part of one or more libraries,
// as jobs of `kestra verify FLOW` run up to N at once, each in a scratch copy of the project,
// with a time limit per job; the results as text, JSON, JUnit and a report page; the run's
// history in the project's temp folder, so that -changed re-checks only changed parts; or,
// with -plan, the jobs as a job list for GNU parallel or a Slurm array.
// Standard C++ and POSIX; one thread; runs child processes of the running program.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "verify/VerifyFlow.h"

// The words after "all". The exit status: the worst verdict of the checks that ran (0, 3, 1,
// 2; 2 also when none ran), 2 for a usage error or a run that could not be made.
int RunVerifyAll(const std::vector<std::string>& words, std::span<const VerifyFlow> flows,
                 std::ostream& out, std::ostream& err);
