#include "base/ParentDeathWatch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <initializer_list>

#include "base/RawSyscalls.h"
#include "base/SharedGroupWatch.h"

namespace {

// The watcher's life: waits until the parent's writing end closes, then ends the group
// (0: its own, which it leaves last). Holds nothing of the parent's but the reading end: no
// output pipe, no lock, no writing end of its own pipe.
[[noreturn]] void WatchAndEnd(int readEnd, pid_t group, long graceMilliseconds) {
  if (readEnd > 0) ::close_range(0, static_cast<unsigned>(readEnd) - 1, 0);
  ::close_range(static_cast<unsigned>(readEnd) + 1, UINT_MAX, 0);
  // The watcher may outlive the program by the grace period: it must not hold the folder the
  // program was in (often a tool's scratch folder).
  if (::chdir("/") != 0) {
  }
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  char byte = 0;
  for (;;) {
    const ssize_t got = ::read(readEnd, &byte, 1);
    if (got == 0 || (got < 0 && errno != EINTR)) break;
  }
  if (group == 0) ::signal(SIGTERM, SIG_IGN);
  RawSyscalls::EndGroups(&group, 1, graceMilliseconds);
  ::_exit(0);
}

}  // namespace

ParentDeathWatch::ParentDeathWatch() {
  if (::pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
}

ParentDeathWatch::~ParentDeathWatch() {
  Stop();
  for (int fd : fds_)
    if (fd >= 0) ::close(fd);
}

void ParentDeathWatch::ChildStarted() {
  if (fds_[0] >= 0) ::close(fds_[0]);
  fds_[0] = -1;
}

void ParentDeathWatch::StartInChild() const {
  const int readEnd = fds_[0];
  if (readEnd < 0) return;
  // Forked twice, so that the watcher is no child of the tool: a tool that waits for all its
  // children must not wait for it.
  const pid_t between = ::fork();
  if (between > 0) {
    int status = 0;
    while (::waitpid(between, &status, 0) < 0 && errno == EINTR) {
    }
    return;  // the child goes on to its exec
  }
  if (between < 0) return;
  if (::fork() != 0) ::_exit(0);
  WatchAndEnd(readEnd, 0, kGraceMilliseconds);
}

void ParentDeathWatch::WatchGroup(pid_t group) {
  if (group <= 0) return;
  if (SharedGroupWatch::Add(group)) {
    sharedGroup_ = group;
    ChildStarted();
    return;
  }
  const int readEnd = fds_[0];
  if (readEnd < 0) return;
  const pid_t watcher = ::fork();
  if (watcher == 0) {
    ::setsid();
    for (int stop : {SIGINT, SIGTERM, SIGHUP}) ::signal(stop, SIG_DFL);
    WatchAndEnd(readEnd, group, kGraceMilliseconds);
  }
  if (watcher > 0) watcher_ = watcher;
  ChildStarted();
}

void ParentDeathWatch::Stop() {
  if (sharedGroup_ > 0) SharedGroupWatch::Remove(sharedGroup_);
  sharedGroup_ = -1;
  if (watcher_ <= 0) return;
  ::kill(watcher_, SIGKILL);
  while (::waitpid(watcher_, nullptr, 0) < 0 && errno == EINTR) {
  }
  watcher_ = -1;
}
