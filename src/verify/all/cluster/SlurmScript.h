// A job list as a Slurm array script: array task i runs line i of the list, with a time limit
// from the jobs' own, its output and error files beside the results; the same script submits
// the array and a merge job that runs after it whatever became of the tasks
// (`sh SCRIPT submit [sbatch options]`), and is that merge job (`sh SCRIPT merge ARRAY_ID`).
// Every path in it is absolute: the nodes run it where they find it. Standard C++ only.
#pragma once

#include <cstddef>
#include <string>

struct SlurmScriptRequest {
  std::string script;  // the script's own path
  std::string lines;   // the job list, one shell line per array task
  std::size_t lineCount = 0;
  std::size_t jobsPerLine = 1;  // the most jobs one line runs
  long jobTimeLimit = 600;      // seconds, each job's own limit (-timeout)
  std::string program;          // the kestra that runs the lines and the merge
  std::string project;          // the project file, named in the requirement
  std::string results;          // the results folder
  std::string page;             // the report page the merge job writes
  std::string merged;           // the merge job's -json output
  std::string mergeOptions;     // shell words added to the merge command, each quoted
};

// The time limit as sbatch takes it: "HH:MM:SS", or "D-HH:MM:SS" from a day on.
std::string SlurmTimeLimit(long seconds);

// A task's time limit: its jobs one after the other, each to its own limit and the grace
// after it, and a minute to start.
long ArrayTaskSeconds(long jobTimeLimit, std::size_t jobsPerLine);

// Why path cannot stand in an #SBATCH line (a blank, a quote, a backslash or a line break,
// which those lines cannot carry); "" when it can.
std::string SbatchPathProblem(const std::string& path);

std::string SlurmArrayScript(const SlurmScriptRequest& request);

// Where the scheduler puts the standard error of array task (ARRAY_TASK) in results.
std::string ArrayTaskErrorFile(const std::string& results, const std::string& arrayJob,
                               std::size_t task);
