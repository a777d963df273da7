#include "verify/VerifyAllLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>

#include "base/ReplaceFile.h"
#include "verify/ScratchProject.h"

std::string VerifyAllFolder(const std::string& projectFile) {
  return ProjectTempFolder(projectFile) + "/verify-all";
}

std::string VerifyAllLockFile(const std::string& projectFile) {
  return VerifyAllFolder(projectFile) + "/lock";
}

bool RunLockHeld(const std::string& file) {
  // O_NONBLOCK: a FIFO in the lock's place must not stop us.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat info = {};
  bool held = false;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    // A shared lock is refused only while somebody holds the exclusive one.
    held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  }
  ::close(fd);  // also lets go of the shared lock
  return held;
}

long RunLockHolder(const std::string& file) {
  std::string text;
  if (!ReadRegularFile(file, text, nullptr, 64)) return 0;
  try {
    return std::stol(text);
  } catch (const std::exception&) {
    return 0;
  }
}
