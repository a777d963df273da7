#include "convert/kicad/ImportOutput.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>
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

// Whether a listed entry is a folder (itself, not through a link), as the listing types it.
bool IsFolder(DIR* folder, const dirent* entry) {
  if (entry->d_type != DT_UNKNOWN) return entry->d_type == DT_DIR;
  struct stat info = {};
  return ::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISDIR(info.st_mode);
}

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
    entries.emplace_back(name, IsFolder(folder, entry));
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

// The names of the folders in path (not through links).
std::vector<std::string> FolderNames(const std::string& path) {
  std::vector<std::string> names;
  DIR* folder = ::opendir(path.c_str());
  if (folder == nullptr) return names;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (IsFolder(folder, entry)) names.emplace_back(name);
  }
  ::closedir(folder);
  return names;
}

}  // namespace

void RemoveTree(const std::string& path, int workers) {
  if (workers > 1) {
    std::vector<std::string> parts;  // the folders two levels down
    for (const std::string& child : FolderNames(path))
      for (const std::string& grandchild : FolderNames(path + "/" + child))
        parts.push_back(path + "/" + child + "/" + grandchild);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
      for (std::size_t i = next++; i < parts.size(); i = next++) RemoveTree(parts[i]);
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < workers; ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    ::unlink(path.c_str());  // a file or a link in its place, or nothing at all
    return;
  }
  RemoveContents(fd);
  ::rmdir(path.c_str());
}
