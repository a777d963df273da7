#include "verify/all/jobs/JobRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "verify/StopSignals.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Running {
  std::size_t index = 0;
  pid_t pid = 0;
  Clock::time_point started;
  Clock::time_point forceAt;  // when a stopped job gets the forced signal
  bool stopping = false;
  bool timedOut = false;
};

// Starts the command in a new process group; the pid, or 0 with reason set.
pid_t Spawn(const JobCommand& command, std::string& reason) {
  if (command.argv.empty()) {
    reason = "no program";
    return 0;
  }
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, command.output.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, command.errors.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // Its own process group, so that a time limit or a stop reaches everything it started;
  // default signal handling and no blocked signals, whatever this process does.
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGCHLD}) sigaddset(&defaults, signal);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  std::vector<char*> argv;
  for (const std::string& word : command.argv) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) {
    reason = command.argv[0] + ": " + std::strerror(error);
    return 0;
  }
  return pid;
}

void Stop(Running& job, Clock::time_point now, std::chrono::milliseconds grace) {
  if (job.stopping) return;
  job.stopping = true;
  job.forceAt = now + grace;
  ::kill(-job.pid, SIGTERM);
}

}  // namespace

std::string DescribeJobEnd(const JobEnd& end) {
  switch (end.how) {
    case JobEnd::How::Exited:
      return "exit status " + std::to_string(end.code);
    case JobEnd::How::Signalled:
      return "signal " + std::to_string(end.code) + " (" + ::strsignal(end.code) + ")";
    case JobEnd::How::TimedOut:
      return "timed out";
    case JobEnd::How::Stopped:
      return "stopped";
    case JobEnd::How::NotStarted:
      break;
  }
  return "not started: " + end.reason;
}

void JobRunner::Run(std::size_t count, const CommandOf& command, const Ended& ended) {
  StopSignals signals;
  std::vector<Running> running;
  std::size_t next = 0;
  while ((stopSignal_ == 0 && next < count) || !running.empty()) {
    const Clock::time_point now = Clock::now();
    if (signals.Caught() != 0 && stopSignal_ == 0) {
      stopSignal_ = signals.Caught();
      for (Running& job : running) Stop(job, now, grace_);
    }
    while (stopSignal_ == 0 && next < count && running.size() < parallel_) {
      const std::size_t index = next++;
      std::string reason;
      const pid_t pid = Spawn(command(index), reason);
      if (pid == 0) {
        JobEnd end;
        end.reason = reason;
        ended(index, end);
        continue;
      }
      running.push_back({index, pid, Clock::now(), {}, false, false});
    }
    bool changed = false;
    for (auto job = running.begin(); job != running.end();) {
      int status = 0;
      const pid_t done = ::waitpid(job->pid, &status, WNOHANG);
      if (done == 0 || (done < 0 && errno == EINTR)) {
        if (!job->stopping && limit_.count() > 0 && now - job->started >= limit_) {
          job->timedOut = true;
          Stop(*job, now, grace_);
        } else if (job->stopping && now >= job->forceAt) {
          ::kill(-job->pid, SIGKILL);
          job->forceAt = now + grace_;
        }
        ++job;
        continue;
      }
      // Whatever the job left behind in its group goes with it.
      ::kill(-job->pid, SIGKILL);
      JobEnd end;
      end.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - job->started);
      if (job->timedOut) {
        end.how = JobEnd::How::TimedOut;
      } else if (job->stopping) {
        end.how = JobEnd::How::Stopped;
      } else if (done > 0 && WIFEXITED(status)) {
        end.how = JobEnd::How::Exited;
        end.code = WEXITSTATUS(status);
      } else if (done > 0 && WIFSIGNALED(status)) {
        end.how = JobEnd::How::Signalled;
        end.code = WTERMSIG(status);
      } else {
        end.how = JobEnd::How::NotStarted;
        end.reason = "lost track of the job";
      }
      const std::size_t index = job->index;
      job = running.erase(job);
      changed = true;
      ended(index, end);
    }
    if (!changed) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}
