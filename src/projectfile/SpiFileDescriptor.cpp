#include "projectfile/SpiFileDescriptor.h"

#include <unistd.h>

#include <cerrno>

void SpiFileDescriptor::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

int SpiFileDescriptor::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

int SpiWriteAll(int fd, const std::string& text, bool (*beforeEachWrite)()) {
  std::size_t done = 0;
  while (done < text.size()) {
    if (beforeEachWrite && beforeEachWrite()) return -1;
    const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      if (wrote == 0) errno = ENOSPC;
      return -1;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return 0;
}
