#include "verify/ToolProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "base/ParentDeathWatch.h"
#include "base/qvdCommon.h"
#include "suite/launcher/ArgumentSplitter.h"
#include "suite/launcher/LaunchLog.h"
#include "suite/launcher/ProgramResolver.h"
#include "suite/launcher/ProgressPieces.h"
#include "verify/StopSignals.h"

namespace {

// A part line waits this long for its line end before it is shown as it is.
constexpr int kFlushMilliseconds = 50;

using Clock = std::chrono::steady_clock;

// Both ends close on exec; the child's copies are moved onto its standard streams.
bool MakePipe(int fds[2]) { return ::pipe2(fds, O_CLOEXEC) == 0; }

void CloseBoth(int fds[2]) {
  for (int i = 0; i < 2; ++i) {
    if (fds[i] >= 0) ::close(fds[i]);
    fds[i] = -1;
  }
}

// Starts the tool in a session (and process group) of its own, standard input from
// /dev/null, both output streams into output. posix_spawn starts it without copying this
// process (a vfork-like clone) and tells an exec failure as its result. 0 or an errno.
int SpawnTool(const char* program, char* const argv[], int output, pid_t& child) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (int error = ::posix_spawn_file_actions_init(&actions)) return error;
  if (int error = ::posix_spawnattr_init(&attributes)) {
    ::posix_spawn_file_actions_destroy(&actions);
    return error;
  }
  int error = ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  if (!error)
    error = ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (!error) error = ::posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  if (!error) error = ::posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
  if (!error) error = ::posix_spawn(&child, program, &actions, &attributes, argv, environ);
  ::posix_spawnattr_destroy(&attributes);
  ::posix_spawn_file_actions_destroy(&actions);
  return error;
}

std::string StartFailure(const std::string& program, const std::string& reason) {
  return "Cannot start " + program + ": " + reason + ".";
}

}  // namespace

void ToolProcess::Run(const ToolProcessStart& start, const Sink& sink) {
  endSignal_ = 0;
  const char* path = std::getenv("PATH");
  const std::string program = ResolveProgram(start.operation, start.executable, qvdGetInstallRoot(),
                                             path != nullptr ? path : "");
  std::vector<std::string> words = SplitArguments(start.arguments);
  AppendLaunchRecord(
      {start.operation, program, start.arguments, start.executable, start.product, "console"});

  // A start that fails is told as the launcher's message box tells it without a display,
  // then given as the run's last progress piece.
  const auto fail = [&](const std::string& reason) {
    const std::string failure = StartFailure(program, reason);
    std::cerr << "error: " << failure << std::endl;
    sink(failure);
  };
  if (std::string why = WhyNotRunnable(program); !why.empty()) return fail(why);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int output[2] = {-1, -1};
  if (!MakePipe(output)) {
    const std::string why = std::strerror(errno);
    return fail(why);
  }
  StopSignals stopSignals;
  pid_t child = -1;
  if (const int error = SpawnTool(program.c_str(), argv.data(), output[1], child)) {
    CloseBoth(output);
    return fail(std::strerror(error));
  }
  ::close(output[1]);
  // The watcher is beside the tool, not on the way to its exec.
  ParentDeathWatch watch;
  watch.WatchGroup(child);

  // Reads the tool's output until the tool ends, answering stop signals on the way. The end
  // is the tool's exit, not the end of its output: something it left running in the
  // background may hold the pipe open, and is ended with the group below.
  const int exitFd = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
  ::fcntl(output[0], F_SETFL, O_NONBLOCK);
  std::string buffer;
  const auto deliver = [&](bool all) {
    for (const std::string& piece : TakeProgressPieces(buffer, all)) sink(piece);
  };
  // Takes what the pipe holds now; false once it has closed. A read that did not fill the
  // chunk took all there was: what comes later wakes the poll again.
  const auto readAvailable = [&] {
    char chunk[4096];
    for (;;) {
      const ssize_t n = ::read(output[0], chunk, sizeof chunk);
      if (n > 0) {
        buffer.append(chunk, static_cast<std::size_t>(n));
        if (static_cast<std::size_t>(n) < sizeof chunk) return true;
      } else if (n == 0) {
        return false;
      } else if (errno != EINTR) {
        return true;
      }
    }
  };
  int stopSignal = 0;
  Clock::time_point killAt{};
  Clock::time_point flushAt{};
  bool flushPending = false;  // a part line is shown as it is at flushAt
  bool outputOpen = true;
  int status = 0;
  bool exited = false;
  while (!exited) {
    int timeout = exitFd < 0 ? kFlushMilliseconds : -1;  // without a pidfd, look for the exit
    const auto now = Clock::now();
    const auto until = [&](Clock::time_point at) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(at - now).count();
      const int ms = static_cast<int>(std::max<long long>(0, left));
      timeout = timeout < 0 ? ms : std::min(timeout, ms);
    };
    if (flushPending) until(flushAt);
    if (stopSignal != 0) until(killAt);
    // poll skips the negative descriptors.
    pollfd fds[3] = {{outputOpen ? output[0] : -1, POLLIN, 0},
                     {stopSignals.ReadEnd(), POLLIN, 0},
                     {exitFd, POLLIN, 0}};
    if (::poll(fds, 3, timeout) < 0 && errno != EINTR) break;
    if (fds[1].revents & POLLIN) {
      char drain[16];
      while (::read(stopSignals.ReadEnd(), drain, sizeof drain) > 0) {
      }
      if (stopSignal == 0 && stopSignals.Caught() != 0) {
        stopSignal = stopSignals.Caught();
        ::kill(-child, SIGTERM);
        killAt = Clock::now() + std::chrono::milliseconds(kGraceMilliseconds);
      }
    }
    if (outputOpen && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
      outputOpen = readAvailable();
      deliver(false);
      if (!buffer.empty() && !flushPending) {
        flushPending = true;
        flushAt = Clock::now() + std::chrono::milliseconds(kFlushMilliseconds);
      }
    }
    // With a pidfd the tool's end is an event of the poll; without one, it is looked for.
    if (exitFd < 0 || (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
      pid_t ended;
      while ((ended = ::waitpid(child, &status, WNOHANG)) < 0 && errno == EINTR) {
      }
      exited = ended == child || ended < 0;
    }
    if (flushPending && Clock::now() >= flushAt) {
      flushPending = false;
      deliver(true);
    }
    if (stopSignal != 0 && Clock::now() >= killAt) ::kill(-child, SIGKILL);
  }
  if (outputOpen) readAvailable();  // what the tool wrote just before it ended
  ::close(output[0]);
  if (exitFd >= 0) ::close(exitFd);
  deliver(true);
  // Nothing of the group may stay behind: children a tool left running in the background
  // belong to a run that is over.
  ::kill(-child, SIGKILL);
  watch.Stop();
  if (stopSignal == 0 && WIFSIGNALED(status)) endSignal_ = WTERMSIG(status);
  if (stopSignal == 0) stopSignal = stopSignals.Caught();  // came after the end
  if (stopSignal != 0) {
    // End as the signal would have ended us: the caller's shell sees 128 + signal.
    std::signal(stopSignal, SIG_DFL);
    std::raise(stopSignal);
  }
}
