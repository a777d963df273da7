#include "projectfile/SpiFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "projectfile/SpiFailureCause.h"

namespace {

// The files this process holds exclusively (device, inode). One thread, like the library.
std::vector<std::pair<dev_t, ino_t>>& HeldFiles() {
  static std::vector<std::pair<dev_t, ino_t>> held;
  return held;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

bool SpiHeldExclusively(const struct stat& status) {
  const auto& held = HeldFiles();
  return std::find(held.begin(), held.end(), std::make_pair(status.st_dev, status.st_ino)) !=
         held.end();
}

int SpiLockWithPatience(int fd, int lock, std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  // Waiters retry after short random pauses, so that none of them keeps losing to the others.
  static std::minstd_rand random(static_cast<unsigned>(::getpid()));
  auto pause = std::chrono::microseconds(500);
  while (::flock(fd, lock | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) return error;
    std::this_thread::sleep_for(pause + std::chrono::microseconds(random() % (pause.count() + 1)));
    pause = std::min(pause * 2, std::chrono::microseconds(16000));
  }
  return 0;
}

int SpiOpenLocked(const std::string& path, int lock, std::chrono::milliseconds patience,
                  SpiFileDescriptor& fd, struct stat& status) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (true) {
    // The type is checked before opening (opening a device can itself do something) and again
    // on what was opened, in case the path was changed in between. O_NONBLOCK: a FIFO must not
    // hang the open.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) return SpiCauseFromErrno(errno);
    if (const int cause = SpiCauseForFileType(named.st_mode)) return cause;
    fd.Reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) return SpiCauseFromErrno(errno);
    if (::fstat(fd.get(), &status) != 0) return SpiCauseFromErrno(errno);
    if (const int cause = SpiCauseForFileType(status.st_mode)) {
      fd.Reset();
      return cause;
    }
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    if (SpiHeldExclusively(status)) return SPI_CAUSE_NONE;

    const auto now = std::chrono::steady_clock::now();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline > now ? deadline - now : std::chrono::steady_clock::duration::zero());
    if (const int error = SpiLockWithPatience(fd.get(), lock, left)) {
      fd.Reset();
      return error == EWOULDBLOCK ? SPI_CAUSE_SHARING_VIOLATION : SpiCauseFromErrno(error);
    }
    // Is the lock on the file that the path names now, or on one that a save replaced while
    // this process waited?
    struct stat current {};
    if (::stat(path.c_str(), &current) == 0 && SameFile(current, status)) {
      if (::fstat(fd.get(), &status) != 0) return SpiCauseFromErrno(errno);
      return SPI_CAUSE_NONE;
    }
    fd.Reset();
    if (std::chrono::steady_clock::now() >= deadline) return SPI_CAUSE_SHARING_VIOLATION;
  }
}

int SpiExclusiveHold::Acquire(const std::string& path, std::chrono::milliseconds patience) {
  Release();
  SpiFileDescriptor fd;
  struct stat status {};
  if (const int cause = SpiOpenLocked(path, LOCK_EX, patience, fd, status)) return cause;
  // Opened without a lock because another hold of this process has the file.
  if (SpiHeldExclusively(status)) return SPI_CAUSE_SHARING_VIOLATION;
  fd_.Reset(fd.Release());
  device_ = status.st_dev;
  inode_ = status.st_ino;
  HeldFiles().emplace_back(device_, inode_);
  return SPI_CAUSE_NONE;
}

void SpiExclusiveHold::Release() {
  if (fd_.get() < 0) return;
  auto& held = HeldFiles();
  if (const auto it = std::find(held.begin(), held.end(), std::make_pair(device_, inode_));
      it != held.end())
    held.erase(it);
  fd_.Reset();  // closing lets go of the lock
}
