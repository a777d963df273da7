#include "projectfile/SpiLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "projectfile/CSpiDirective.h"
#include "projectfile/SpiFailureCause.h"
#include "projectfile/SpiFileDescriptor.h"
#include "projectfile/SpiText.h"

namespace {

// Opens the log for writing; -1 with cause when it cannot be opened or is not our own
// regular file.
int OpenChecked(const std::string& path, int flags, struct stat& status, int& cause) {
  const int fd = ::open(path.c_str(), flags, 0600);
  if (fd < 0) {
    // A planted symbolic link: the file could not be accessed (not a path problem). A FIFO
    // without a reader refuses a non-blocking writer.
    cause = errno == ELOOP   ? SPI_CAUSE_ACCESS_DENIED
            : errno == ENXIO ? SPI_CAUSE_IS_FIFO
                             : SpiCauseFromErrno(errno);
    return -1;
  }
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
    ::close(fd);
    cause = SPI_CAUSE_ACCESS_DENIED;
    return -1;
  }
  cause = SPI_CAUSE_NONE;
  return fd;
}

int OpenLog(const std::string& path, bool replace, int& cause) {
  // O_NONBLOCK: a FIFO planted in the shared folder must not hang every tool that logs.
  const int flags = (replace ? 0 : O_APPEND) | O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK |
                    O_NOCTTY | O_CLOEXEC;
  struct stat status {};
  int fd = OpenChecked(path, flags, status, cause);
  if (replace && (fd < 0 || status.st_nlink > 1)) {
    // What stands where the log is to be replaced and cannot be written over (a link or FIFO
    // planted in the shared folder, another name of some other file) is removed and the log
    // made anew, never followed or written through.
    if (fd >= 0) ::close(fd);
    const int firstCause = cause;
    ::unlink(path.c_str());
    fd = OpenChecked(path, flags | O_EXCL, status, cause);
    if (fd < 0 && firstCause != SPI_CAUSE_NONE) cause = firstCause;
  }
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

int WriteAll(int fd, const std::string& text) {
  return SpiWriteAll(fd, text) == 0 ? SPI_CAUSE_NONE : SpiCauseFromErrno(errno);
}

}  // namespace

std::string SpiTempDirectory() {
  if (const char* dir = std::getenv("TMPDIR"); dir && *dir) return dir;
  struct stat status {};
  if (::stat("/tmp", &status) == 0 && S_ISDIR(status.st_mode)) return "/tmp";
  return {};
}

std::string SpiDirectiveDump(const CSpiDirective& directive,
                             const std::array<std::string, kSpiLevelCount>& labels) {
  std::string out;
  SpiAppendDirectiveDump(out, directive, labels);
  return out;
}

void SpiAppendDirectiveDump(std::string& out, const CSpiDirective& directive,
                            const std::array<std::string, kSpiLevelCount>& labels) {
  out += "\nDirective Value at\n";
  for (int level = 0; level < kSpiLevelCount; ++level) {
    out.append("\t").append(labels[level]).append(": ");
    for (const std::string_view value : directive.Values(level).Values())
      out.append(" \"").append(value).append("\"");
    if (!directive.Controls(level).Empty()) {
      out += " ( ";
      for (const std::string_view word : directive.Controls(level).Values())
        out.append(" \"").append(word).append("\"");
      out += " ) ";
    }
    out += "\n";
  }
  out.append("\nThe winning value for the directive \"").append(directive.name).append("\" is ");
  for (const std::string_view value : directive.WinningValues().Values())
    out.append(" \"").append(value).append("\"");
  out.append("\nread from \"").append(labels[directive.winningLevel]).append("\"\n");
}

std::string SpiFormatLogEntry(bool isError, const std::string& text) {
  std::string entry;
  SpiAppendLogEntryText(entry, isError, text);
  return entry;
}

void SpiAppendLogEntryText(std::string& out, bool isError, std::string_view text) {
  if (isError)
    out.append("Error").append(54, '-');
  else
    out.append("Information").append(48, '-');
  out.append("\n\n").append(text).append(59, '-').append("\n\n\n");
}

int SpiWriteLog(const std::string& path, const std::string& entries, bool replace) {
  int cause;
  const SpiFileDescriptor log(OpenLog(path, replace, cause));
  if (log.get() < 0) return cause;
  cause = WriteAll(log.get(), entries);
  // A replaced log is written over the old one from its start and then cut where the new
  // entries end (also after a failed write: no old entries after new ones). Emptying it first
  // would free its pages only to take new ones, and is several times dearer.
  if (replace) {
    const off_t end = ::lseek(log.get(), 0, SEEK_CUR);
    if ((end < 0 || ::ftruncate(log.get(), end) != 0) && cause == SPI_CAUSE_NONE)
      cause = SpiCauseFromErrno(errno);
  }
  return cause;
}

int SpiAppendLogEntry(const std::string& path, bool isError, const std::string& text) {
  return SpiWriteLog(path, SpiFormatLogEntry(isError, text), false);
}
