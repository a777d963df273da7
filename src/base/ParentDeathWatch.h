// A tool run that must not outlive the program that started it, even when that program is
// killed outright (SIGKILL) and cannot stop it: the child, once in a process group of its own,
// starts a small watcher in that group (not a child of the tool) which waits on a pipe whose only
// writer is the parent. When the parent dies the pipe reads its end, and the watcher ends the whole
// group: SIGTERM, a grace, then SIGKILL (itself included). A run that ends normally ends its group
// itself, watcher and all.
//
// POSIX. The object belongs to the parent and lives as long as the run; StartInChild runs in
// the child between fork and exec and calls only async-signal-safe functions.
#pragma once

#include <sys/types.h>

class ParentDeathWatch {
 public:
  ParentDeathWatch();
  ~ParentDeathWatch();
  ParentDeathWatch(const ParentDeathWatch&) = delete;
  ParentDeathWatch& operator=(const ParentDeathWatch&) = delete;

  // In the child, after it made its own process group (setsid or setpgid) and before exec.
  void StartInChild() const;
  // In the parent, once the child has started: the parent keeps only the writing end.
  void ChildStarted();

  // In the parent, instead of StartInChild and ChildStarted, once the child has its own
  // session: hands the group to the program's shared watcher (SharedGroupWatch.h) or, when
  // that cannot be had, starts a watcher of this run's own beside the child: this process's
  // child in a session of its own (no signal of the terminal reaches it), ending the child's
  // group from outside it. Stop (or the destructor) takes the group off once the run is over.
  void WatchGroup(pid_t group);
  void Stop();

  // How long the group has between SIGTERM and SIGKILL once the parent is gone.
  static constexpr long kGraceMilliseconds = 2000;

 private:
  int fds_[2] = {-1, -1};
  pid_t watcher_ = -1;      // WatchGroup's own watcher while it runs
  pid_t sharedGroup_ = -1;  // the group WatchGroup handed to the shared watcher
};
