#include "base/SharedGroupWatch.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <mutex>

#include "base/ParentDeathWatch.h"

namespace {

// The watcher keeps its groups in a fixed table: after a fork of a program with threads the
// child may call only async-signal-safe functions, so no allocation.
constexpr int kMaxGroups = 256;

std::mutex mutex;
int socketEnd = -1;  // this process's end; -1 before the first Add or after the watcher died
pid_t watcher = -1;
int watched = 0;  // groups added and not yet removed

// A message is one group: positive to add it, negative to remove it. SOCK_SEQPACKET keeps
// each message whole.
[[noreturn]] void Watch(int end) {
  if (end > 0) ::close_range(0, static_cast<unsigned>(end) - 1, 0);
  ::close_range(static_cast<unsigned>(end) + 1, UINT_MAX, 0);
  ::setsid();
  // Forked from wherever the program was (often a tool's scratch folder): the watcher, which
  // may outlive the program by the grace period, must not hold that folder.
  if (::chdir("/") != 0) {
  }
  struct sigaction defaults = {};
  defaults.sa_handler = SIG_DFL;
  for (int stop : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::sigaction(stop, &defaults, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);

  pid_t groups[kMaxGroups];
  int count = 0;
  for (;;) {
    std::int32_t message = 0;
    const ssize_t got = ::recv(end, &message, sizeof message, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got != static_cast<ssize_t>(sizeof message)) break;  // the program is gone
    if (message > 0 && count < kMaxGroups) {
      groups[count++] = message;
    } else if (message < 0) {
      for (int i = 0; i < count; ++i)
        if (groups[i] == -message) {
          groups[i] = groups[--count];
          break;
        }
    }
  }
  ParentDeathWatch::EndGroups(groups, count, ParentDeathWatch::kGraceMilliseconds);
  ::_exit(0);
}

bool Start() {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return false;
  const pid_t pid = ::fork();
  if (pid == 0) Watch(ends[1]);
  ::close(ends[1]);
  if (pid < 0) {
    ::close(ends[0]);
    return false;
  }
  socketEnd = ends[0];
  watcher = pid;
  return true;
}

// A watcher that died (killed by someone) is reaped and forgotten: the runs it held end their
// groups themselves as always, and the next Add starts a new one.
bool Send(std::int32_t message) {
  if (socketEnd >= 0 && ::send(socketEnd, &message, sizeof message, MSG_NOSIGNAL) ==
                            static_cast<ssize_t>(sizeof message))
    return true;
  if (socketEnd >= 0) {
    ::close(socketEnd);
    socketEnd = -1;
    while (::waitpid(watcher, nullptr, 0) < 0 && errno == EINTR) {
    }
    watcher = -1;
    watched = 0;
  }
  return false;
}

}  // namespace

bool SharedGroupWatch::Add(pid_t group) {
  if (group <= 0) return false;
  std::lock_guard<std::mutex> lock(mutex);
  if (watched >= kMaxGroups) return false;
  if (socketEnd < 0 && !Start()) return false;
  if (!Send(static_cast<std::int32_t>(group))) return false;
  ++watched;
  return true;
}

void SharedGroupWatch::Remove(pid_t group) {
  if (group <= 0) return;
  std::lock_guard<std::mutex> lock(mutex);
  if (watched > 0 && Send(-static_cast<std::int32_t>(group))) --watched;
}
