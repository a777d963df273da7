#include "projectfile/SpiAtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "projectfile/SpiFailureCause.h"
#include "projectfile/SpiFileDescriptor.h"
#include "projectfile/SpiFileLock.h"

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

bool WriteFaultNow() { return FaultAt(SpiWriteFault::kWrite, ENOSPC); }

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

// Temporary files of a target are named "." + its name + ".tmp" + digits.
std::string TemporaryPrefix(const std::filesystem::path& target) {
  return "." + target.filename().string() + ".tmp";
}

std::string RandomTemporaryName(const std::filesystem::path& folder, const std::string& prefix) {
  static std::mt19937_64 random(std::random_device{}());
  return (folder / (prefix + std::to_string(random() % 1000000000))).string();
}

bool OurTemporaryName(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
  for (std::size_t i = prefix.size(); i < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

// Removes the temporary files that killed saves of target left behind. A save in progress
// holds an exclusive lock on its temporary file, and the lock goes with the process, so a
// temporary file that can be locked is stale. Only regular files of this user are touched.
void RemoveStaleTemporaries(const std::filesystem::path& folder,
                            const std::filesystem::path& target) {
  const std::string prefix = TemporaryPrefix(target);
  DIR* directory = ::opendir(folder.c_str());
  if (!directory) return;
  while (const dirent* entry = ::readdir(directory)) {
    if (!OurTemporaryName(entry->d_name, prefix)) continue;
    const std::string name = (folder / entry->d_name).string();
    SpiFileDescriptor file(::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid() || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
      continue;
    struct stat named {};
    if (::lstat(name.c_str(), &named) == 0 && named.st_ino == status.st_ino &&
        named.st_dev == status.st_dev)
      ::unlink(name.c_str());
  }
  ::closedir(directory);
}

// Opens the existing target and takes the exclusive lock without waiting, making sure the lock
// is on the file the path names now. 0 (exists false when there is no file), else a cause.
int LockExistingTarget(const std::filesystem::path& target, SpiFileDescriptor& lock,
                       struct stat& original, bool& exists) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    struct stat named {};
    if (::stat(target.c_str(), &named) != 0) {
      if (errno != ENOENT) return SpiCauseFromErrno(errno);
      exists = false;
      return SPI_CAUSE_NONE;
    }
    // A device, a FIFO or a directory is never replaced by a regular file, nor opened.
    if (const int cause = SpiCauseForFileType(named.st_mode)) return cause;
    lock.Reset(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (lock.get() < 0) {
      if (errno == ENOENT || errno == ELOOP) continue;  // replaced under us: look again
      return SpiCauseFromErrno(errno);
    }
    if (::fstat(lock.get(), &original) != 0) return SpiCauseFromErrno(errno);
    if (const int cause = SpiCauseForFileType(original.st_mode)) return cause;
    // A file this process holds for a read-change-save is locked already.
    if (!SpiHeldExclusively(original) && ::flock(lock.get(), LOCK_EX | LOCK_NB) != 0)
      return errno == EWOULDBLOCK ? SPI_CAUSE_SHARING_VIOLATION : SpiCauseFromErrno(errno);
    if (::stat(target.c_str(), &named) == 0 && named.st_ino == original.st_ino &&
        named.st_dev == original.st_dev) {
      exists = true;
      return ::fstat(lock.get(), &original) == 0 ? SPI_CAUSE_NONE : SpiCauseFromErrno(errno);
    }
  }
  return SPI_CAUSE_SHARING_VIOLATION;
}

// The checks on the file that is to be replaced. 0 or a cause.
int CheckReplaceable(const std::filesystem::path& target, int fd, const struct stat& original,
                     const SpiFileFingerprint* expected) {
  // Root passes every access check: the mode bits say what the owner meant.
  if ((original.st_mode & S_IWUSR) == 0) return SPI_CAUSE_READ_ONLY;
  if (::access(target.c_str(), W_OK) != 0) return SpiCauseFromErrno(errno);
  if (original.st_nlink > 1) return SPI_CAUSE_HARD_LINKED;
  if (expected && expected->known) {
    SpiFileFingerprint current;
    current.SetIdentity(original);
    if (!current.SameIdentity(*expected)) return SPI_CAUSE_CHANGED_SINCE_READ;
    std::uint64_t hash = 0;
    if (const int error = SpiHashFileContent(fd, hash)) return SpiCauseFromErrno(error);
    if (hash != expected->contentHash) return SPI_CAUSE_CHANGED_SINCE_READ;
  }
  return SPI_CAUSE_NONE;
}

// The new file: unnamed (O_TMPFILE) when the file system can, else under a temporary name.
// Locked exclusively while it is written, which marks it as not stale. -1 with errno set.
int CreateNewFile(const std::filesystem::path& folder, const std::string& prefix,
                  std::string& name) {
  name.clear();
  if (FaultAt(SpiWriteFault::kCreate, ENOSPC)) return -1;
  int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
      name = RandomTemporaryName(folder, prefix);
      fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0 || errno != EEXIST) break;
    }
    if (fd < 0) {
      name.clear();
      return -1;
    }
  }
  ::flock(fd, LOCK_EX | LOCK_NB);
  return fd;
}

// Gives the unnamed file a temporary name in folder. 0, or -1 with errno set.
int NameUnnamedFile(int fd, const std::filesystem::path& folder, const std::string& prefix,
                    std::string& name) {
  if (FaultAt(SpiWriteFault::kLink, ENOENT)) return -1;
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = RandomTemporaryName(folder, prefix);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != EEXIST) break;
  }
  name.clear();
  return -1;
}

struct NewFile {
  SpiFileDescriptor fd;
  std::string name;  // empty while the file is unnamed
};

// Writes text into the new file and flushes it (when durable). 0, or the errno of the failing
// step.
int WriteAndSync(int fd, const std::string& text, bool durable) {
  if (SpiWriteAll(fd, text, WriteFaultNow) != 0) return errno;
  if (!durable) return 0;
  if (FaultAt(SpiWriteFault::kSync, EIO) || ::fsync(fd) != 0) return errno;
  return 0;
}

// Keeps the replaced file's owner (when allowed) and permissions for the new one.
void KeepOwnerAndMode(int fd, const struct stat& original) {
  if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
    // Not the owner: the new file stays ours, as any editor's would.
  }
  ::fchmod(fd, original.st_mode & 07777);
}

// Writes the text into a named temporary file instead (the unnamed one could not be named).
int FallBackToNamedFile(NewFile& file, const std::filesystem::path& folder,
                        const std::string& prefix, const struct stat* original,
                        const std::string& text, bool durable) {
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    file.name = RandomTemporaryName(folder, prefix);
    fd = ::open(file.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    file.name.clear();
    return errno;
  }
  file.fd.Reset(fd);
  ::flock(fd, LOCK_EX | LOCK_NB);
  if (original) KeepOwnerAndMode(fd, *original);
  return WriteAndSync(fd, text, durable);
}

}  // namespace

void SpiInjectWriteFault(SpiWriteFault fault) { injectedFault = fault; }

int SpiReplaceFile(const std::string& path,
                   const std::function<std::string(std::optional<std::time_t>)>& compose,
                   const SpiFileFingerprint* expected, SpiFileFingerprint* written, bool durable) {
  const std::filesystem::path target = ResolveLinks(path);
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  const std::string prefix = TemporaryPrefix(target);

  // The exclusive lock on the existing file: any reader or writer in another process makes
  // the save fail at once instead of waiting.
  SpiFileDescriptor lock;
  struct stat original {};
  bool exists = false;
  if (const int cause = LockExistingTarget(target, lock, original, exists)) return cause;
  if (exists) {
    if (const int cause = CheckReplaceable(target, lock.get(), original, expected)) return cause;
    RemoveStaleTemporaries(folder, target);
  } else if (expected && expected->known) {
    return SPI_CAUSE_CHANGED_SINCE_READ;  // removed since it was read
  }

  NewFile file;
  file.fd.Reset(CreateNewFile(folder, prefix, file.name));
  if (file.fd.get() < 0) return SpiCauseFromErrno(errno);
  if (exists) KeepOwnerAndMode(file.fd.get(), original);
  struct stat status {};
  std::optional<std::time_t> modified;
  if (::fstat(file.fd.get(), &status) == 0) modified = status.st_mtime;
  const std::string text = compose(modified);

  int failed = WriteAndSync(file.fd.get(), text, durable);
  if (!failed && file.name.empty() && NameUnnamedFile(file.fd.get(), folder, prefix, file.name)) {
    // No /proc, say: write the text again under a temporary name.
    failed = FallBackToNamedFile(file, folder, prefix, exists ? &original : nullptr, text, durable);
  }
  // The lock on the new file is kept (through a second descriptor) until it is in place, while
  // the first is closed and checked: some file systems report write errors only then.
  SpiFileDescriptor keeper(failed ? -1 : ::dup(file.fd.get()));
  if (!failed && ::fstat(file.fd.get(), &status) != 0) failed = errno;
  if (!failed && ::close(file.fd.Release()) != 0) failed = errno;
  if (!failed &&
      (FaultAt(SpiWriteFault::kRename, EXDEV) || ::rename(file.name.c_str(), target.c_str()) != 0))
    failed = errno;
  if (failed) {
    if (!file.name.empty()) ::unlink(file.name.c_str());
    return SpiCauseFromErrno(failed);
  }
  if (written) {
    *written = {};
    written->SetIdentity(status);
    SpiContentHash hash;
    hash.Add(text);
    written->contentHash = hash.Digest();
  }

  // Make the rename itself durable.
  if (!durable) return 0;
  SpiFileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) ::fsync(directory.get());
  return 0;
}
