// Runs the jobs of a run over many parts in up to N long-lived worker processes
// (`kestra verify all -worker`, see JobWorker.h) instead of one process per job: each worker
// gets its job lines on its standard input, the next one given while the current one runs so
// that it never waits for this process, and answers when each job is done. The
// jobs and their ends are those of JobRunner: a job over its time limit, or one whose worker
// dies, ends its worker's whole process group (a polite signal, a grace, then a forced one)
// and is reported as timed out or by how the worker ended; a fresh worker takes the next job.
// SIGINT, SIGTERM and SIGHUP stop every running job and start no further one. Each worker says
// what it says outside its jobs into its own log file. Standard C++ and POSIX; one thread; the
// workers are its own children.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "verify/all/jobs/JobRunner.h"

class WorkerPool {
 public:
  // worker: the worker's command (argv[0] its program's path); logs: a worker's own messages
  // go to logs + "worker-K.log" (logs a folder ending in "/", or a file name's stem).
  WorkerPool(std::vector<std::string> worker, std::string logs, std::size_t parallel,
             std::chrono::milliseconds limit,
             std::chrono::milliseconds grace = std::chrono::milliseconds(5000))
      : worker_(std::move(worker)),
        logs_(std::move(logs)),
        parallel_(parallel == 0 ? 1 : parallel),
        limit_(limit),
        grace_(grace) {}

  // As JobRunner::Run; a command's argv[0] (the program) is left out of its job line.
  void Run(std::size_t count, const JobRunner::CommandOf& command, const JobRunner::Ended& ended);

  // The same, each job's command made for the place it is given to: worker K (1, 2, ... in
  // the order the workers started) has the places 2K - 2 and 2K - 1 and takes them in turn.
  // A place is given again only after the job that had it before has ended (its `ended` call
  // returned), so that what a job leaves under its place's name (a scratch folder that the
  // worker's next job reuses) stays its own until then; a worker that died takes its places
  // with it.
  using CommandAt = std::function<JobCommand(std::size_t index, std::size_t place)>;
  void Run(std::size_t count, const CommandAt& command, const JobRunner::Ended& ended);

  int StopSignal() const { return stopSignal_; }

 private:
  std::vector<std::string> worker_;
  std::string logs_;
  std::size_t parallel_;
  std::chrono::milliseconds limit_;
  std::chrono::milliseconds grace_;
  int stopSignal_ = 0;
};
