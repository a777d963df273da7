#include "host/HostEnvironment.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

// A display and somebody to answer: a dialog can be shown.
bool Interactive() {
  const char* quiet = std::getenv("KESTRA_NONINTERACTIVE");
  const bool told = quiet != nullptr && std::string(quiet) == "1";
  return !told && (Set("DISPLAY") || Set("WAYLAND_DISPLAY"));
}

// Without a display (or when told not to ask anything) the windows go nowhere and message
// boxes go to standard error: a script or a CI job must not fail or hang for want of a screen.
void ChooseHeadlessWhenNeeded() {
  if (Interactive()) return;
  ::setenv("KESTRA_NONINTERACTIVE", "1", 1);
  if (!Set("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// Qt warns on standard error when XDG_RUNTIME_DIR is unset (as for root in a plain shell).
// A private folder of our own, as Qt would pick, keeps standard error for our messages.
void ProvideRuntimeDirectory() {
  if (Set("XDG_RUNTIME_DIR")) return;
  const char* tmp = std::getenv("TMPDIR");
  const std::string dir =
      std::string(tmp && *tmp ? tmp : "/tmp") + "/runtime-kestra-" + std::to_string(::getuid());
  ::mkdir(dir.c_str(), 0700);
  struct stat info = {};
  // Only a real folder of ours that nobody else can enter; otherwise Qt decides.
  if (::lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
      (info.st_mode & 077) == 0)
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}
