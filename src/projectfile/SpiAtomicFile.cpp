#include "projectfile/SpiAtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "projectfile/SpiFailureCause.h"
#include "projectfile/SpiFileDescriptor.h"

namespace {

SpiWriteFault injectedFault = SpiWriteFault::kNone;

// True (the fault cleared, errno set as the real failure would) when the injected fault is
// at this step.
bool FaultAt(SpiWriteFault step, int error) {
  if (injectedFault != step) return false;
  injectedFault = SpiWriteFault::kNone;
  errno = error;
  return true;
}

// Follows symbolic links (also dangling ones) to the file that is to be written.
std::filesystem::path ResolveLinks(std::filesystem::path path) {
  std::error_code error;
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
    const auto target = std::filesystem::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

// A temporary file in folder, created exclusively; its name is returned in name.
int CreateTemporary(const std::filesystem::path& folder, const std::string& base,
                    std::string& name) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = (folder / ("." + base + ".tmp" + std::to_string(random() % 1000000000))).string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteFaultNow() { return FaultAt(SpiWriteFault::kWrite, ENOSPC); }

// Writes, flushes and renames the temporary file over target; the temporary is removed on
// any failure. 0 or the errno of the failing step.
int WriteAndRename(const std::string& temporary, int fd, const std::string& target,
                   const std::function<std::string(std::optional<std::time_t>)>& compose) {
  SpiFileDescriptor file(fd);
  struct stat status {};
  std::optional<std::time_t> modified;
  if (::fstat(file.get(), &status) == 0) modified = status.st_mtime;
  int failed = 0;
  if (SpiWriteAll(file.get(), compose(modified), WriteFaultNow) != 0)
    failed = errno;
  else if (FaultAt(SpiWriteFault::kSync, EIO) || ::fsync(file.get()) != 0)
    failed = errno;
  else if (::close(file.Release()) != 0)
    failed = errno;
  else if (FaultAt(SpiWriteFault::kRename, EXDEV) ||
           ::rename(temporary.c_str(), target.c_str()) != 0)
    failed = errno;
  if (failed) ::unlink(temporary.c_str());
  return failed;
}

}  // namespace

void SpiInjectWriteFault(SpiWriteFault fault) { injectedFault = fault; }

int SpiReplaceFile(const std::string& path,
                   const std::function<std::string(std::optional<std::time_t>)>& compose) {
  const std::filesystem::path target = ResolveLinks(path);
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");

  // The exclusive lock on the existing file: any reader or writer in another process makes
  // the save fail at once instead of waiting.
  SpiFileDescriptor lock(::open(target.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat original {};
  const bool exists = lock.get() >= 0;
  if (!exists && errno != ENOENT) return SpiCauseFromErrno(errno);
  if (exists) {
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0)
      return errno == EWOULDBLOCK ? SPI_CAUSE_SHARING_VIOLATION : SpiCauseFromErrno(errno);
    // A file its owner made read-only is not replaced behind their back.
    if (::fstat(lock.get(), &original) != 0) return SpiCauseFromErrno(errno);
    if (::access(target.c_str(), W_OK) != 0) return SpiCauseFromErrno(errno);
  }

  std::string temporary;
  const int fd = FaultAt(SpiWriteFault::kCreate, ENOSPC)
                     ? -1
                     : CreateTemporary(folder, target.filename().string(), temporary);
  if (fd < 0) return SpiCauseFromErrno(errno);
  if (exists) {
    // Keep the file's owner (when allowed) and permissions.
    if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
      // Not the owner: the new file stays ours, as any editor's would.
    }
    ::fchmod(fd, original.st_mode & 07777);
  }
  if (const int failed = WriteAndRename(temporary, fd, target.string(), compose))
    return SpiCauseFromErrno(failed);

  // Make the rename itself durable.
  SpiFileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) ::fsync(directory.get());
  return 0;
}
