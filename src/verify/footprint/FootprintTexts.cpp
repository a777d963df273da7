#include "verify/footprint/FootprintTexts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "base/QuoteArgument.h"

std::string FootprintVerifyFilePath(const std::string& projectDir) {
  return projectDir + "temp/pavrel_verify.txt";
}

bool WriteFootprintVerifyFile(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string scratch = folder + "/.pavrel_verify.XXXXXX";
  const int fd = ::mkstemp(scratch.data());
  if (fd < 0) return false;
  const std::size_t size = std::strlen(kVerifyFileText);
  bool written = ::write(fd, kVerifyFileText, size) == static_cast<ssize_t>(size);
  // The file is the user's like any other they write (mkstemp makes it private).
  const mode_t mask = ::umask(0);
  ::umask(mask);
  written = ::fchmod(fd, 0666 & ~mask) == 0 && written;
  written = ::close(fd) == 0 && written;
  // rename replaces a link at path itself, never the file it points to.
  if (!written || std::rename(scratch.c_str(), path.c_str()) != 0) {
    ::unlink(scratch.c_str());
    return false;
  }
  return true;
}

std::string SetupDeskArguments(const std::string& project) {
  return " -proj " + QuoteArgument(project);
}

std::string FootprintDrawingName(const std::string& name) { return name + ".dra"; }
