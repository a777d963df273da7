// Opening project files under an advisory lock (flock): only regular files (through symbolic
// links), never blocking on a FIFO or a device, and with the lock verified to be on the file the
// path names now. A save replaces the file by renaming a new one over it, so a lock that was
// waited for on the old file would protect nothing: such a file is opened again.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <string>

#include "projectfile/SpiFileDescriptor.h"

// Opens path read only and takes lock (LOCK_SH or LOCK_EX), waiting up to patience while other
// processes hold a lock that conflicts. A file that this process holds through an
// SpiExclusiveHold is opened without a further lock. 0 with fd and status (taken under the
// lock) set, else a failure cause: SPI_CAUSE_SHARING_VIOLATION when the wait ran out, a file
// type cause for anything but a regular file.
int SpiOpenLocked(const std::string& path, int lock, std::chrono::milliseconds patience,
                  SpiFileDescriptor& fd, struct stat& status);

// An exclusive lock that this process holds on a project file for a whole read, change and
// save, so that no other reader or writer comes in between. Opening and saving the same file in
// this process take no further lock while it is held.
class SpiExclusiveHold {
 public:
  SpiExclusiveHold() = default;
  ~SpiExclusiveHold() { Release(); }
  SpiExclusiveHold(const SpiExclusiveHold&) = delete;
  SpiExclusiveHold& operator=(const SpiExclusiveHold&) = delete;

  // Waits up to patience for the lock. 0, or a failure cause (a file this process holds
  // already gives SPI_CAUSE_SHARING_VIOLATION).
  int Acquire(const std::string& path, std::chrono::milliseconds patience);
  void Release();
  bool Held() const { return fd_.get() >= 0; }

 private:
  SpiFileDescriptor fd_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

// True when this process holds an SpiExclusiveHold on the file with this status.
bool SpiHeldExclusively(const struct stat& status);

// Takes lock | LOCK_NB on fd, retrying with short pauses until patience has passed.
// 0, or the errno of the last attempt (EWOULDBLOCK when the wait ran out).
int SpiLockWithPatience(int fd, int lock, std::chrono::milliseconds patience);
