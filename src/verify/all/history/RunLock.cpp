#include "verify/all/history/RunLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::optional<RunLock> RunLock::Take(const std::string& file, std::string& error) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) {
    error = "cannot open the lock file " + file + ": " + std::strerror(errno);
    return std::nullopt;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int cause = errno;
    ::close(fd);
    error = cause == EWOULDBLOCK
                ? "another kestra verify all is running on this project (it holds " + file +
                      "); wait until it ends"
                : "cannot lock " + file + ": " + std::strerror(cause);
    return std::nullopt;
  }
  // Who holds it, for a librarian looking at the file.
  const std::string holder = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::write(fd, holder.data(), holder.size());
  }
  return RunLock(fd);
}

RunLock::~RunLock() {
  if (fd_ >= 0) ::close(fd_);
}
