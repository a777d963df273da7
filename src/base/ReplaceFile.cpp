#include "base/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace {

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool ReplaceFileContent(const std::string& path, std::string_view content) {
  std::random_device random;
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::string temporary = path + ".new-" + std::to_string(random());
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    const bool written = WriteAll(fd, content);
    const bool closed = ::close(fd) == 0;
    if (written && closed && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
  }
  return false;
}

bool ReadRegularFile(const std::string& path, std::string& content) {
  // Without blocking: a FIFO planted in place of a file must not hang the reader.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info = {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  content.clear();
  char buffer[65536];
  while (ok) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    if (got <= 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return ok;
}
