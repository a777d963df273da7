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
#include <memory>
#include <vector>

#include "base/ParentDeathWatch.h"
#include "suite/launcher/DirectStart.h"
#include "suite/launcher/LaunchLog.h"
#include "suite/launcher/ProgramResolver.h"
#include "suite/launcher/ProgressPieces.h"
#include "verify/StopSignals.h"
#include "verify/WorkingDirectory.h"

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

// One running tool: its group, its output pipe, its pidfd and what it wrote that is not yet
// shown.
struct RunningTool {
  pid_t child = -1;
  int output = -1;
  int exitFd = -1;  // -1 without pidfds: the end is looked for
  bool outputOpen = false;
  bool flushPending = false;  // a part line is shown as it is at flushAt
  Clock::time_point flushAt{};
  std::string buffer;
  std::unique_ptr<ParentDeathWatch> watch;  // the watcher beside the tool, not on its way
};

// Starts the tool into tool: "" once it runs, else why it could not start (said on standard
// error as the launcher's message box says it without a display, and given as the tool's last
// progress piece).
std::string StartTool(const ToolProcessStart& start, RunningTool& tool,
                      const ToolProcess::Sink& sink) {
  // The tool starts where this process stands when it is spawned (its directory, entered
  // before the tool is looked for, as the launcher does); this process goes back after.
  std::optional<CurrentDirectoryGuard> back;
  if (!start.directory.empty()) {
    back.emplace();
    if (std::string why; !EnterDirectory(start.directory, &why)) {
      std::cerr << why << "\n";
      return why;
    }
  }
  const ToolLaunch launch = ComposeLaunch(start.operation.c_str(), start.executable,
                                          start.arguments, start.product, "console");
  AppendLaunchRecord(launch.record);
  const std::string& program = launch.program;
  const auto fail = [&](const std::string& reason) {
    const std::string failure = StartFailure(program, reason);
    std::cerr << "error: " << failure << std::endl;
    sink(failure);
    return failure;
  };
  if (std::string why = WhyNotRunnable(program); !why.empty()) return fail(why);

  const std::vector<char*> argv = ExecArguments(launch);

  int output[2] = {-1, -1};
  if (!MakePipe(output)) {
    const std::string why = std::strerror(errno);
    return fail(why);
  }
  if (const int error = SpawnTool(program.c_str(), argv.data(), output[1], tool.child)) {
    CloseBoth(output);
    return fail(std::strerror(error));
  }
  ::close(output[1]);
  tool.output = output[0];
  tool.outputOpen = true;
  tool.watch = std::make_unique<ParentDeathWatch>();
  tool.watch->WatchGroup(tool.child);
  tool.exitFd = static_cast<int>(::syscall(SYS_pidfd_open, tool.child, 0));
  ::fcntl(tool.output, F_SETFL, O_NONBLOCK);
  return "";
}

// Takes what the tool's pipe holds now; false once it has closed. A read that did not fill
// the chunk took all there was: what comes later wakes the poll again.
bool ReadAvailable(RunningTool& tool) {
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(tool.output, chunk, sizeof chunk);
    if (n > 0) {
      tool.buffer.append(chunk, static_cast<std::size_t>(n));
      if (static_cast<std::size_t>(n) < sizeof chunk) return true;
    } else if (n == 0) {
      return false;
    } else if (errno != EINTR) {
      return true;
    }
  }
}

void Deliver(RunningTool& tool, bool all, const ToolProcess::Sink& sink) {
  for (const std::string& piece : TakeProgressPieces(tool.buffer, all)) sink(piece);
}

// Whether the tool has ended (its status in status); with a pidfd only once it said so.
bool Ended(RunningTool& tool, short exitEvents, int& status) {
  if (tool.exitFd >= 0 && !(exitEvents & (POLLIN | POLLHUP | POLLERR))) return false;
  pid_t ended;
  while ((ended = ::waitpid(tool.child, &status, WNOHANG)) < 0 && errno == EINTR) {
  }
  return ended == tool.child || ended < 0;
}

// After the tool's end: what it wrote just before, then nothing of its group may stay behind
// (children it left running in the background belong to a run that is over).
void Finish(RunningTool& tool, const ToolProcess::Sink& sink) {
  if (tool.outputOpen) ReadAvailable(tool);
  ::close(tool.output);
  if (tool.exitFd >= 0) ::close(tool.exitFd);
  Deliver(tool, true, sink);
  ::kill(-tool.child, SIGKILL);
  tool.watch->Stop();
}

}  // namespace

void ToolProcess::Run(const ToolProcessStart& start, const Sink& sink) {
  endSignal_ = 0;
  bool given = false;
  RunEach(
      1,
      [&](std::size_t) -> std::optional<ToolProcessStart> {
        if (given) return std::nullopt;
        given = true;
        return start;
      },
      [&](std::size_t, const Outcome& outcome) { endSignal_ = outcome.signal; }, sink);
}

void ToolProcess::RunEach(std::size_t parallel, const NextTool& next, const ToolEnded& ended,
                          const Sink& sink) {
  std::vector<std::optional<RunningTool>> slots(std::max<std::size_t>(parallel, 1));
  StopSignals stopSignals;
  int stopSignal = 0;
  Clock::time_point killAt{};
  bool more = true;
  // Starts tools in the free slots while there are more and no stop signal came.
  const auto fill = [&] {
    for (std::size_t slot = 0; slot < slots.size() && more; ++slot) {
      while (!slots[slot] && more && stopSignal == 0) {
        const std::optional<ToolProcessStart> start = next(slot);
        if (!start) {
          more = false;
          break;
        }
        RunningTool tool;
        if (std::string failure = StartTool(*start, tool, sink); !failure.empty()) {
          ended(slot, {0, std::move(failure)});
          continue;
        }
        slots[slot] = std::move(tool);
      }
    }
  };
  const auto running = [&] {
    return std::any_of(slots.begin(), slots.end(),
                       [](const auto& tool) { return tool.has_value(); });
  };

  fill();
  std::vector<pollfd> fds;
  while (running()) {
    // Without a pidfd a tool's end is looked for every flush interval.
    int timeout = -1;
    const auto now = Clock::now();
    const auto until = [&](Clock::time_point at) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(at - now).count();
      const int ms = static_cast<int>(std::max<long long>(0, left));
      timeout = timeout < 0 ? ms : std::min(timeout, ms);
    };
    // poll skips the negative descriptors: the stop pipe, then each slot's output and end.
    fds.assign(1, {stopSignals.ReadEnd(), POLLIN, 0});
    for (const std::optional<RunningTool>& tool : slots) {
      fds.push_back({tool && tool->outputOpen ? tool->output : -1, POLLIN, 0});
      fds.push_back({tool ? tool->exitFd : -1, POLLIN, 0});
      if (!tool) continue;
      if (tool->exitFd < 0) until(now + std::chrono::milliseconds(kFlushMilliseconds));
      if (tool->flushPending) until(tool->flushAt);
    }
    if (stopSignal != 0) until(killAt);
    if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) break;
    if (fds[0].revents & POLLIN) {
      char drain[16];
      while (::read(stopSignals.ReadEnd(), drain, sizeof drain) > 0) {
      }
      if (stopSignal == 0 && stopSignals.Caught() != 0) {
        stopSignal = stopSignals.Caught();
        for (const std::optional<RunningTool>& tool : slots)
          if (tool) ::kill(-tool->child, SIGTERM);
        killAt = Clock::now() + std::chrono::milliseconds(kGraceMilliseconds);
      }
    }
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
      std::optional<RunningTool>& tool = slots[slot];
      if (!tool) continue;
      const pollfd& output = fds[1 + 2 * slot];
      if (tool->outputOpen && (output.revents & (POLLIN | POLLHUP | POLLERR))) {
        tool->outputOpen = ReadAvailable(*tool);
        Deliver(*tool, false, sink);
        if (!tool->buffer.empty() && !tool->flushPending) {
          tool->flushPending = true;
          tool->flushAt = Clock::now() + std::chrono::milliseconds(kFlushMilliseconds);
        }
      }
      if (int status = 0; Ended(*tool, fds[2 + 2 * slot].revents, status)) {
        Finish(*tool, sink);
        tool.reset();
        const int signal = stopSignal == 0 && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        ended(slot, {signal, ""});
        continue;
      }
      if (tool->flushPending && Clock::now() >= tool->flushAt) {
        tool->flushPending = false;
        Deliver(*tool, true, sink);
      }
      if (stopSignal != 0 && Clock::now() >= killAt) ::kill(-tool->child, SIGKILL);
    }
    fill();
  }
  // Only a failed poll leaves tools behind: their groups are ended, as at any end.
  for (std::size_t slot = 0; slot < slots.size(); ++slot) {
    if (!slots[slot]) continue;
    Finish(*slots[slot], sink);
    slots[slot].reset();
    ended(slot, {0, ""});
  }
  if (stopSignal == 0) stopSignal = stopSignals.Caught();  // came after the end
  if (stopSignal != 0) {
    // End as the signal would have ended us: the caller's shell sees 128 + signal.
    std::signal(stopSignal, SIG_DFL);
    std::raise(stopSignal);
  }
}
