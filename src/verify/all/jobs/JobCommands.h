// The command of one job of a run over many parts: `kestra verify FLOW WORDS -scratch DIR
// -json` with its standard output in a results file, as an argument list for the job runner
// and as one shell line of a job list for GNU parallel or a Slurm array. Standard C++ only.
#pragma once

#include <string>
#include <vector>

#include "verify/all/jobs/PartJobs.h"

// The program running now (the kestra that runs the jobs), absolute.
std::string RunningProgram();

// kestra verify FLOW WORDS -scratch SCRATCH -json.
std::vector<std::string> JobArguments(const std::string& program, const PartJob& job,
                                      const std::string& scratch);

// word as one shell word: as it is when it holds only safe characters, else in single quotes.
std::string ShellWord(const std::string& word);

// The shell line: the arguments, standard output into results, standard error into errors.
std::string JobShellLine(const std::vector<std::string>& arguments, const std::string& results,
                         const std::string& errors);
