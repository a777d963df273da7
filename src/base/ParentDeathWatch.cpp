#include "base/ParentDeathWatch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>

ParentDeathWatch::ParentDeathWatch() {
  if (::pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
}

ParentDeathWatch::~ParentDeathWatch() {
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
  // The watcher holds nothing of the parent's but the reading end: no output pipe, no lock,
  // no writing end of its own pipe.
  if (readEnd > 0) ::close_range(0, static_cast<unsigned>(readEnd) - 1, 0);
  ::close_range(static_cast<unsigned>(readEnd) + 1, UINT_MAX, 0);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  char byte = 0;
  for (;;) {
    const ssize_t got = ::read(readEnd, &byte, 1);
    if (got == 0 || (got < 0 && errno != EINTR)) break;
  }
  // The parent is gone: the group goes, this watcher last.
  ::signal(SIGTERM, SIG_IGN);
  ::kill(0, SIGTERM);
  timespec grace = {kGraceMilliseconds / 1000, (kGraceMilliseconds % 1000) * 1000000};
  while (::nanosleep(&grace, &grace) != 0 && errno == EINTR) {
  }
  ::kill(0, SIGKILL);
  ::_exit(0);
}
