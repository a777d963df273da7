// The scheduler's side of a cluster run, through Slurm's own commands: submitting an array
// script and its merge job, waiting for a job to end, cancelling, and what became of each
// task of an array (sacct when the cluster keeps accounts, else scontrol while the controller
// still remembers the job, else the cancellation note the task's error file carries).
// Standard C++ and POSIX; runs sbatch, scontrol, sacct and scancel as child processes; one
// thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct SubmittedJobs {
  std::string array;  // the array job's id
  std::string merge;  // the merge job's id
};

// Runs `sh script submit ARGS...`; the two job ids, or nullopt with the scheduler's own
// words in error.
std::optional<SubmittedJobs> SubmitArrayScript(const std::string& script,
                                               const std::vector<std::string>& sbatchArgs,
                                               std::string& error);

// The words of -sbatch-args: blanks separate them, single and double quotes group, a
// backslash takes the next character as it is; nullopt with error for an open quote.
std::optional<std::vector<std::string>> SplitSbatchArguments(const std::string& text,
                                                             std::string& error);

// The state the controller gives job ("PENDING", "RUNNING", "COMPLETED", ...); "" when it no
// longer knows the job (it ended long enough ago); nullopt with why in error when it cannot
// be asked (it does not answer, scontrol is missing).
std::optional<std::string> JobState(const std::string& job, std::string& error);

// Whether state is one a job does not leave.
bool FinalJobState(const std::string& state);

// Waits until job is in a final state or gone; every interval asks keepWaiting, which ends the
// wait when false. A controller that does not answer is asked again (a restart, a network
// hiccup), and unreachable is told each time it begins. The last state seen ("" when the job
// was gone), or nullopt when the wait was ended.
std::optional<std::string> WaitForJob(const std::string& job, std::chrono::milliseconds interval,
                                      const std::function<bool()>& keepWaiting,
                                      const std::function<void(const std::string&)>& unreachable);

// scancel of the jobs; "" or what scancel said.
std::string CancelJobs(const std::vector<std::string>& jobs);

// The final state of each task (1 to tasks) of arrayJob that is known; the error files of the
// tasks lie in results (SlurmScript.h).
std::map<std::size_t, std::string> ArrayTaskStates(const std::string& arrayJob, std::size_t tasks,
                                                   const std::string& results);

// The task states from sacct's "-n -P -X --format=JobID,State" lines or from scontrol's
// "show job -o" lines of arrayJob (tasks still pending as a range are left out).
std::map<std::size_t, std::string> ParseTaskStates(const std::string& text,
                                                   const std::string& arrayJob);
