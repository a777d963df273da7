#include "convert/kicad/ImportOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

bool Fail(std::string& error, const char* what, const std::string& path) {
  error = std::string(what) + " " + path + ": " + std::strerror(errno);
  return false;
}

}  // namespace

bool WriteNewFile(const std::string& path, std::string_view content, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return Fail(error, "cannot create", path);
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = ENOSPC;
      Fail(error, "cannot write", path);
      ::close(fd);
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  if (::close(fd) != 0) return Fail(error, "cannot write", path);
  return true;
}

bool MakeFolder(const std::string& path, std::string& error) {
  if (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) return true;
  return Fail(error, "cannot create folder", path);
}

bool SecondName(const std::string& path, const std::string& second, std::string_view content,
                std::string& error) {
  if (::link(path.c_str(), second.c_str()) == 0) return true;
  return WriteNewFile(second, content, error);
}

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}
