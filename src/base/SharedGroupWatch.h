// One watcher for every tool run of this program: the process groups of the runs that are
// under way are ended should the program die, even by SIGKILL. ParentDeathWatch does the same
// for one run with a watcher of its own; a program that runs thousands of tools one after
// another (a worker of verify all) would pay a fork of itself per run, and the copy-on-write
// faults that follow it, for what one long-lived watcher does.
//
// The watcher is started on first use: a child of this process in a session of its own (no
// signal of the terminal reaches it), holding only its end of a socket pair; where it can, it
// shares this process's memory instead of a copy of it (SharedGroupWatch.cpp says why and how).
// Add and Remove send it a group; when this process dies the socket reads its end and the
// watcher ends every group it holds (SIGTERM, a grace, then SIGKILL) and then itself.
//
// POSIX. Thread-safe: a program may run several tools at once.
#pragma once

#include <sys/types.h>

namespace SharedGroupWatch {

// Watches the group (a child that made its own session or group). False when the watcher
// cannot be started or reached, or holds as many groups as it can: the caller then watches
// the run itself (ParentDeathWatch::WatchGroup).
bool Add(pid_t group);

// Once the run has ended its group itself.
void Remove(pid_t group);

}  // namespace SharedGroupWatch
