#include "base/OwnFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool Fail(std::string* error, const std::string& what, const std::string& reason) {
  if (error != nullptr) *error = what + ": " + reason;
  return false;
}

bool IsFolder(const std::string& path) {
  struct stat info = {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool MakeOwnFolder(const std::string& path, std::string* error) {
  const std::string what = "cannot make the folder " + path;
  if (IsFolder(path)) return true;
  std::error_code code;
  // Not a folder of its own: a link (to anywhere) or a file goes; the folder takes its place.
  if (fs::symlink_status(path, code).type() != fs::file_type::not_found &&
      ::unlink(path.c_str()) != 0)
    return Fail(error, what, std::strerror(errno));
  fs::create_directories(path, code);
  if (code) return Fail(error, what, code.message());
  if (!IsFolder(path)) return Fail(error, what, "something else took its place");
  return true;
}

bool RemakeOwnFolder(const std::string& path, const std::vector<std::string>& keep,
                     std::string* error) {
  if (!MakeOwnFolder(path, error)) return false;
  std::error_code code;
  std::vector<fs::path> doomed;
  for (fs::directory_iterator entry(path, code), end; !code && entry != end;
       entry.increment(code)) {
    if (std::find(keep.begin(), keep.end(), entry->path().filename().string()) == keep.end())
      doomed.push_back(entry->path());
  }
  if (code) return Fail(error, "cannot empty the folder " + path, code.message());
  for (const fs::path& entry : doomed) {
    fs::remove_all(entry, code);
    if (code)
      return Fail(error, "cannot empty the folder " + path, entry.string() + ": " + code.message());
  }
  return true;
}

int CreateOutputFile(const std::string& path, std::string* error) {
  const std::string what = "cannot write " + path;
  struct stat info = {};
  if (::lstat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      Fail(error, what, std::strerror(EISDIR));
      return -1;
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
      Fail(error, what, std::strerror(errno));
      return -1;
    }
  }
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
  if (fd < 0) Fail(error, what, std::strerror(errno));
  return fd;
}
