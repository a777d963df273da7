#include "SpiLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "CSpiDirective.h"
#include "SpiFailureCause.h"
#include "SpiFileDescriptor.h"
#include "SpiText.h"

namespace {

int OpenLog(const std::string& path, bool truncate, int& cause) {
  const int fd = ::open(
      path.c_str(), (truncate ? 0 : O_APPEND) | O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    // A planted symbolic link: the file could not be accessed (not a path problem).
    cause = errno == ELOOP ? SPI_CAUSE_ACCESS_DENIED : SpiCauseFromErrno(errno);
    return -1;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
    ::close(fd);
    cause = SPI_CAUSE_ACCESS_DENIED;
    return -1;
  }
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
  std::string out = "\nDirective Value at\n";
  for (int level = 0; level < kSpiLevelCount; ++level) {
    out += "\t" + labels[level] + ": ";
    for (const std::string_view value : directive.values[level].Values())
      out.append(" \"").append(value).append("\"");
    if (!directive.controls[level].Empty()) {
      out += " ( ";
      for (const std::string_view word : directive.controls[level].Values())
        out.append(" \"").append(word).append("\"");
      out += " ) ";
    }
    out += "\n";
  }
  out.append("\nThe winning value for the directive \"").append(directive.name).append("\" is ");
  for (const std::string_view value : directive.WinningValues().Values())
    out.append(" \"").append(value).append("\"");
  out += "\nread from \"" + labels[directive.winningLevel] + "\"\n";
  return out;
}

int SpiAppendLogEntry(const std::string& path, bool isError, const std::string& text) {
  int cause;
  const SpiFileDescriptor log(OpenLog(path, false, cause));
  if (log.get() < 0) return cause;
  std::string entry =
      isError ? "Error" + std::string(54, '-') : "Information" + std::string(48, '-');
  entry += "\n\n" + text + std::string(59, '-') + "\n\n\n";
  return WriteAll(log.get(), entry);
}

int SpiCopyLog(const std::string& source, const std::string& target) {
  const SpiFileDescriptor in(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (in.get() < 0) return SpiCauseFromErrno(errno);
  int cause;
  const SpiFileDescriptor out(OpenLog(target, true, cause));
  if (out.get() < 0) return cause;
  char buffer[1 << 14];
  while (true) {
    const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return SpiCauseFromErrno(errno);
    if (got == 0) return SPI_CAUSE_NONE;
    if (const int failed = WriteAll(out.get(), std::string(buffer, static_cast<std::size_t>(got))))
      return failed;
  }
}
