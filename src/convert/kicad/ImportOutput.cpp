#include "convert/kicad/ImportOutput.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

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

namespace {

// Removes everything in the folder open as fd (and closes it). Entries are taken through the
// folder's descriptor, each as the listing types it: no path is built, no entry is looked at
// twice, and a link is removed, never followed. A folder's names are all read before any is
// removed, as removing while listing is not defined.
void RemoveContents(int fd) {
  DIR* folder = ::fdopendir(fd);
  if (folder == nullptr) {
    ::close(fd);
    return;
  }
  std::vector<std::pair<std::string, bool>> entries;  // name, whether a folder
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat info = {};
      isFolder = ::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                 S_ISDIR(info.st_mode);
    }
    entries.emplace_back(name, isFolder);
  }
  for (const auto& [name, isFolder] : entries) {
    if (isFolder) {
      const int inside =
          ::openat(::dirfd(folder), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (inside >= 0) RemoveContents(inside);
    }
    ::unlinkat(::dirfd(folder), name.c_str(), isFolder ? AT_REMOVEDIR : 0);
  }
  ::closedir(folder);
}

}  // namespace

void RemoveTree(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    ::unlink(path.c_str());  // a file or a link in its place, or nothing at all
    return;
  }
  RemoveContents(fd);
  ::rmdir(path.c_str());
}
