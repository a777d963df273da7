#include "base/SharedGroupWatch.h"

#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "base/ParentDeathWatch.h"
#include "base/RawSyscalls.h"

namespace {

// The watcher keeps its groups in a fixed table: it may not allocate (see Watch).
constexpr int kMaxGroups = 256;

std::mutex mutex;
int socketEnd = -1;  // this process's end; -1 before the first Add or after the watcher died
pid_t watcher = -1;
int watched = 0;  // groups added and not yet removed

// A message is one group: positive to add it, negative to remove it. SOCK_SEQPACKET keeps
// each message whole.
//
// Where it can, the watcher is started with clone(CLONE_VM): a process of its own (own files,
// signals, session, working folder) that shares this program's memory, so that starting it
// copies no page table and the program's later writes take no copy-on-write faults (a fork here
// cost more than the rest of a one-part verify run). It therefore runs on a stack of its own
// and makes only raw system calls (RawSyscalls.h): it must not touch the state of the thread
// that started it, which may have ended since. It holds the program's memory until it ends: at
// the latest one grace period after the program. The kernel's out-of-memory killer ends every
// process that shares a victim's memory, the watcher with the program; the tools then run on
// to their own end.
[[noreturn]] KESTRA_BARE_CODE int Watch(void* endAsPointer) {
  using RawSyscalls::Call;
  const long end = reinterpret_cast<long>(endAsPointer);
  if (end > 0) Call(SYS_close_range, 0, end - 1, 0);
  Call(SYS_close_range, end + 1, UINT_MAX, 0);
  Call(SYS_setsid);
  // Started from wherever the program was (often a tool's scratch folder): the watcher, which
  // may outlive the program by the grace period, must not hold that folder.
  Call(SYS_chdir, reinterpret_cast<long>("/"));
  // Started with every signal blocked, so that no handler of the program runs here: the
  // signals that should end it get their default action and are let through; the rest stay
  // blocked.
  // SIG_DFL, no flags, no restorer, empty mask; static, or it would be zeroed by a call
  static constexpr unsigned long defaultAction[4] = {};
  const long endingSignals[] = {SIGHUP, SIGINT, SIGTERM, SIGPIPE};
  unsigned long ending = 0;
  for (const long signal : endingSignals) {  // a plain array: no call, even unoptimised
    Call(SYS_rt_sigaction, signal, reinterpret_cast<long>(defaultAction), 0, sizeof ending);
    ending |= 1UL << (signal - 1);
  }
  Call(SYS_rt_sigprocmask, SIG_UNBLOCK, reinterpret_cast<long>(&ending), 0, sizeof ending);

  pid_t groups[kMaxGroups];
  int count = 0;
  for (;;) {
    std::int32_t message = 0;
    const long got = Call(SYS_read, end, reinterpret_cast<long>(&message), sizeof message);
    if (got == -EINTR) continue;
    if (got != static_cast<long>(sizeof message)) break;  // the program is gone
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
  RawSyscalls::EndGroups(groups, count, ParentDeathWatch::kGraceMilliseconds);
  for (;;) Call(SYS_exit_group, 0);
}

// The watcher's stack while it shares the program's memory; one watcher at a time (a new one
// only once the previous one is reaped, under the mutex).
alignas(64) char watcherStack[32 * 1024];

// Valgrind runs no clone that is neither a thread nor a fork, and ends the program at one: under
// it (its preload library is in LD_PRELOAD) the watcher is forked.
bool UnderValgrind() {
  const char* preload = std::getenv("LD_PRELOAD");
  return preload && std::strstr(preload, "vgpreload");
}

bool Start() {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return false;
  void* const end = reinterpret_cast<void*>(static_cast<long>(ends[1]));
  pid_t pid = -1;
  if (RawSyscalls::kCanShareMemory && !UnderValgrind()) {
    sigset_t all, previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    pid = ::clone(Watch, watcherStack + sizeof watcherStack, CLONE_VM | SIGCHLD, end);
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  } else {
    pid = ::fork();
    if (pid == 0) Watch(end);
  }
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
