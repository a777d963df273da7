// Runs child processes as jobs, up to a number at once: each in a process group of its own,
// standard input from /dev/null, standard output and error into files made anew by this
// process (whatever was planted at their paths is replaced, never followed), with a time limit
// after which its whole group is stopped (a polite signal, a grace, then a forced one).
// SIGINT, SIGTERM and SIGHUP during a run stop every running job the same way and start no
// further one; should this process be killed outright, each job's group is ended by its
// watcher (base/ParentDeathWatch.h). Standard C++ and POSIX; one thread; the children are its
// own.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// A child process as a runner watches it. Value type; the runner owns the process.
struct WatchedProcess {
  pid_t pid = 0;  // also its process group
  std::chrono::steady_clock::time_point started;
  std::chrono::steady_clock::time_point forceAt;  // when a stopped process gets SIGKILL
  bool stopping = false;
  bool timedOut = false;

  // SIGTERM to its group, once; Watch sends SIGKILL when the grace is over.
  void Stop(std::chrono::steady_clock::time_point now, std::chrono::milliseconds grace);
  // While it runs: a busy process past limit (0: no limit) is stopped as timed out; a stopped
  // one past its grace gets SIGKILL, again after each further grace.
  void Watch(std::chrono::steady_clock::time_point now, bool busy, std::chrono::milliseconds limit,
             std::chrono::milliseconds grace);
};

class ParentDeathWatch;

// Starts argv (argv[0] a path) in a process group of its own with default signal handling and
// no blocked signals, its standard input, output and errors on the given descriptors (input
// -1: left as it is), its watcher started in the child. The pid, or 0 with reason set: "WHAT:
// why" when no process could be made, "PROGRAM: why" when the exec failed (that child reaped).
pid_t StartInOwnGroup(const std::vector<std::string>& argv, int input, int output, int errors,
                      const ParentDeathWatch& watch, const std::string& what, std::string& reason);

struct JobCommand {
  std::vector<std::string> argv;  // argv[0] is the program's path
  std::string output;             // file for standard output
  std::string errors;             // file for standard error
};

struct JobEnd {
  enum class How { Exited, Signalled, TimedOut, NotStarted, Stopped };
  How how = How::NotStarted;
  int code = 0;        // the exit status, or the signal that ended it
  std::string reason;  // why it did not start
  std::chrono::milliseconds took{0};
};

// How a job's process ended, from what waitpid gave (gone: its result, status: the status)
// and what the runner did to it (timed it out, stopped it); lost: the reason when waitpid
// gave nothing of the process.
JobEnd EndOfProcess(int gone, int status, bool timedOut, bool stopping,
                    std::chrono::milliseconds took, const std::string& lost);

class JobRunner {
 public:
  JobRunner(std::size_t parallel, std::chrono::milliseconds limit,
            std::chrono::milliseconds grace = std::chrono::milliseconds(5000))
      : parallel_(parallel == 0 ? 1 : parallel), limit_(limit), grace_(grace) {}

  using CommandOf = std::function<JobCommand(std::size_t index)>;
  using Ended = std::function<void(std::size_t index, const JobEnd& end)>;
  // Runs jobs 0 to count - 1 in order, at most parallel at once; ended is called once for
  // each started job as it ends, on this thread. Returns when every started job has ended.
  void Run(std::size_t count, const CommandOf& command, const Ended& ended);

  // The signal that stopped the run, 0 when none did.
  int StopSignal() const { return stopSignal_; }

 private:
  std::size_t parallel_;
  std::chrono::milliseconds limit_;
  std::chrono::milliseconds grace_;
  int stopSignal_ = 0;
};

// "exit status 3", "signal 9 (Killed)", "timed out", "not started: <reason>".
std::string DescribeJobEnd(const JobEnd& end);
