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

int OpenLog(const std::string& path, bool truncate, int& cause) {
  // O_NONBLOCK: a FIFO planted in the shared folder must not hang every tool that logs.
  const int fd = ::open(path.c_str(),
                        (truncate ? 0 : O_APPEND) | O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK |
                            O_NOCTTY | O_CLOEXEC,
                        0600);
  if (fd < 0) {
    // A planted symbolic link: the file could not be accessed (not a path problem). A FIFO
    // without a reader refuses a non-blocking writer.
    cause = errno == ELOOP   ? SPI_CAUSE_ACCESS_DENIED
            : errno == ENXIO ? SPI_CAUSE_IS_FIFO
                             : SpiCauseFromErrno(errno);
    return -1;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
    ::close(fd);
    cause = SPI_CAUSE_ACCESS_DENIED;
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  // Truncated only once it is known to be our own regular file.
  if (truncate && ::ftruncate(fd, 0) != 0) {
    cause = SpiCauseFromErrno(errno);
    ::close(fd);
    return -1;
  }
  cause = SPI_CAUSE_NONE;
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
  return WriteAll(log.get(), entries);
}

int SpiAppendLogEntry(const std::string& path, bool isError, const std::string& text) {
  return SpiWriteLog(path, SpiFormatLogEntry(isError, text), false);
}
