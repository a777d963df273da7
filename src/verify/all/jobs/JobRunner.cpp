#include "verify/all/jobs/JobRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>

#include "base/OwnFolder.h"
#include "base/ParentDeathWatch.h"
#include "base/SignalText.h"
#include "verify/StopSignals.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Running : WatchedProcess {
  std::size_t index = 0;
  std::unique_ptr<ParentDeathWatch> watch;  // ends the job's group should this process die
};

// An output file of a job, made by this process: nothing planted at its path (a link, a FIFO)
// is followed or opened, and a failure names the file.
class OutputFile {
 public:
  OutputFile(const std::string& path, std::string& reason) : fd_(CreateOutputFile(path, &reason)) {}
  ~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Starts the command in a new process group with its watcher; the pid, or 0 with reason set.
pid_t Spawn(const JobCommand& command, const ParentDeathWatch& watch, std::string& reason) {
  if (command.argv.empty()) {
    reason = "no program";
    return 0;
  }
  const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  pid_t pid = 0;
  const OutputFile output(command.output, reason);
  if (output.fd() >= 0) {
    const OutputFile errors(command.errors, reason);
    if (errors.fd() >= 0)
      pid = StartInOwnGroup(command.argv, input, output.fd(), errors.fd(), watch,
                            "cannot start a job", reason);
  }
  if (input >= 0) ::close(input);
  return pid;
}

}  // namespace

std::string DescribeJobEnd(const JobEnd& end) {
  switch (end.how) {
    case JobEnd::How::Exited:
      return "exit status " + std::to_string(end.code);
    case JobEnd::How::Signalled:
      return SignalText(end.code);
    case JobEnd::How::TimedOut:
      return "timed out";
    case JobEnd::How::Stopped:
      return "stopped";
    case JobEnd::How::NotStarted:
      break;
  }
  return "not started: " + end.reason;
}

pid_t StartInOwnGroup(const std::vector<std::string>& argv, int input, int output, int errors,
                      const ParentDeathWatch& watch, const std::string& what, std::string& reason) {
  std::vector<char*> words;
  for (const std::string& word : argv) words.push_back(const_cast<char*>(word.c_str()));
  words.push_back(nullptr);
  // The child tells why its exec failed through this pipe; at a successful exec it closes.
  int failure[2] = {-1, -1};
  if (::pipe2(failure, O_CLOEXEC) != 0) {
    reason = what + ": " + std::strerror(errno);
    return 0;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only async-signal-safe calls from here to the exec. Its own process group, so that a
    // time limit or a stop reaches everything it started; default signal handling and no
    // blocked signals, whatever this process does.
    ::setpgid(0, 0);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGCHLD}) ::signal(signal, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (input >= 0) ::dup2(input, 0);
    ::dup2(output, 1);
    ::dup2(errors, 2);
    watch.StartInChild();
    ::execv(words[0], words.data());
    const int code = errno;
    [[maybe_unused]] const ssize_t told = ::write(failure[1], &code, sizeof code);
    ::_exit(127);
  }
  const int forkError = errno;
  ::close(failure[1]);
  if (pid < 0) {
    ::close(failure[0]);
    reason = what + ": " + std::strerror(forkError);
    return 0;
  }
  int code = 0;
  ssize_t got = 0;
  do {
    got = ::read(failure[0], &code, sizeof code);
  } while (got < 0 && errno == EINTR);
  ::close(failure[0]);
  if (got == static_cast<ssize_t>(sizeof code)) {
    ::kill(-pid, SIGKILL);  // its watcher, if it got so far
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    reason = argv.front() + ": " + std::strerror(code);
    return 0;
  }
  return pid;
}

void WatchedProcess::Stop(Clock::time_point now, std::chrono::milliseconds grace) {
  if (stopping) return;
  stopping = true;
  forceAt = now + grace;
  ::kill(-pid, SIGTERM);
}

void WatchedProcess::Watch(Clock::time_point now, bool busy, std::chrono::milliseconds limit,
                           std::chrono::milliseconds grace) {
  if (busy && !stopping && limit.count() > 0 && now - started >= limit) {
    timedOut = true;
    Stop(now, grace);
  } else if (stopping && now >= forceAt) {
    ::kill(-pid, SIGKILL);
    forceAt = now + grace;
  }
}

JobEnd EndOfProcess(int gone, int status, bool timedOut, bool stopping,
                    std::chrono::milliseconds took, const std::string& lost) {
  JobEnd end;
  end.took = took;
  if (timedOut) {
    end.how = JobEnd::How::TimedOut;
  } else if (stopping) {
    end.how = JobEnd::How::Stopped;
  } else if (gone > 0 && WIFEXITED(status)) {
    end.how = JobEnd::How::Exited;
    end.code = WEXITSTATUS(status);
  } else if (gone > 0 && WIFSIGNALED(status)) {
    end.how = JobEnd::How::Signalled;
    end.code = WTERMSIG(status);
  } else {
    end.reason = lost;
  }
  return end;
}

void JobRunner::Run(std::size_t count, const CommandOf& command, const Ended& ended) {
  StopSignals signals;
  std::vector<Running> running;
  std::size_t next = 0;
  while ((stopSignal_ == 0 && next < count) || !running.empty()) {
    const Clock::time_point now = Clock::now();
    if (signals.Caught() != 0 && stopSignal_ == 0) {
      stopSignal_ = signals.Caught();
      for (Running& job : running) job.Stop(now, grace_);
    }
    while (stopSignal_ == 0 && next < count && running.size() < parallel_) {
      const std::size_t index = next++;
      std::string reason;
      auto watch = std::make_unique<ParentDeathWatch>();
      const pid_t pid = Spawn(command(index), *watch, reason);
      if (pid == 0) {
        JobEnd end;
        end.reason = reason;
        ended(index, end);
        continue;
      }
      watch->ChildStarted();
      Running job;
      job.index = index;
      job.pid = pid;
      job.started = Clock::now();
      job.watch = std::move(watch);
      running.push_back(std::move(job));
    }
    bool changed = false;
    for (auto job = running.begin(); job != running.end();) {
      int status = 0;
      const pid_t done = ::waitpid(job->pid, &status, WNOHANG);
      if (done == 0 || (done < 0 && errno == EINTR)) {
        job->Watch(now, true, limit_, grace_);
        ++job;
        continue;
      }
      // Whatever the job left behind in its group goes with it.
      ::kill(-job->pid, SIGKILL);
      const JobEnd end = EndOfProcess(
          done, status, job->timedOut, job->stopping,
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - job->started),
          "lost track of the job");
      const std::size_t index = job->index;
      job = running.erase(job);
      changed = true;
      ended(index, end);
    }
    if (!changed) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}
