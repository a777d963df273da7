// Where `kestra verify all` keeps what it carries from run to run on a project (history, logs,
// job files, run lock), and whether a run of it holds the lock now: the flows that write into
// the project's folders wait while one does. Standard C++ and POSIX; any thread.
#pragma once

#include <string>

// <the project's temp folder>/verify-all.
std::string VerifyAllFolder(const std::string& projectFile);
// The run lock file in that folder.
std::string VerifyAllLockFile(const std::string& projectFile);

// True when a process holds an exclusive lock (flock) on file. Asks without waiting and
// without creating, following or opening anything but a regular file.
bool RunLockHeld(const std::string& file);
// The process id the holder wrote into file, 0 when it cannot be read.
long RunLockHolder(const std::string& file);
