// kestra: has the module make the Qt application and its command object, hands it the
// product, the project and the command, runs the command and exits. The headless verbs
// (`kestra verify`, `kestra report`, `kestra waive`, `kestra libs`, `kestra footprints`, `kestra
// template`, `kestra import`) go to the module's entry points. The module is loaded only by what
// needs it: the usage, the version and `kestra verify rulex` (HeadlessVerbs.h) run in the host
// alone.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cmdline/HeadlessVerbs.h"
#include "cmdline/KestraEntryPoints.h"
#include "host/HostArguments.h"
#include "host/HostHelp.h"
#include "host/ModuleLibrary.h"
#include "host/NearestWord.h"

namespace {

constexpr int kUsageStatus = 2;

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

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

int RunCommand(const HostArguments& a) {
  KESTRA_MODULE(KestraExecuteCommand)(a.product, a.project, a.mode, a.mpsSession, a.mpsHost);
  return 0;
}

// True when the module's command table has the mode (case does not matter, as for ExecuteCmd).
bool KnownMode(const std::string& mode) {
  const auto lower = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  for (const std::string& name : KESTRA_MODULE(KestraCommandNames)())
    if (lower(name) == lower(mode)) return true;
  return false;
}

// A mode the module does not know: the module has said so in its own words; the host names
// the word and the nearest command, and the run counts as not made.
int UnknownMode(const std::string& mode) {
  std::cerr << "kestra: unknown command \"" << mode << "\"";
  if (const std::string near = NearestWord(mode, KESTRA_MODULE(KestraCommandNames)());
      !near.empty())
    std::cerr << "; did you mean " << near << "?";
  std::cerr << " (kestra -help lists the commands)\n";
  return kUsageStatus;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    std::cout << HostUsage();
    return 0;
  }
  if (words[0] == "--version" || words[0] == "-version") {
    std::cout << HostVersion() << "\n";
    return 0;
  }
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (words[0] == "libs") return KESTRA_MODULE(KestraLibsMain)(rest);
  if (words[0] == "report") return KESTRA_MODULE(KestraReportMain)(rest);
  if (words[0] == "waive") return KESTRA_MODULE(KestraWaiveMain)(rest);
  if (words[0] == "footprints") return KESTRA_MODULE(KestraFootprintsMain)(rest);
  if (words[0] == "import") return KESTRA_MODULE(KestraImportMain)(rest);
  if (words[0] == "template") return KESTRA_MODULE(KestraTemplateMain)(rest);
  if (words[0] == "help" && rest.empty()) {
    std::cout << HostUsage();
    return 0;
  }
  if (words[0] == "verify" && VerifiesWithoutModule(rest)) return KestraHeadlessVerifyMain(rest);
  ProvideRuntimeDirectory();
  if (words[0] == "help") {
    ChooseHeadlessWhenNeeded();
    return KESTRA_MODULE(KestraRunInApplication)(argc, argv, [&] { return RunHostHelp(rest); });
  }
  if (words[0] == "verify") {
    ChooseHeadlessWhenNeeded();
    return KESTRA_MODULE(KestraRunInApplication)(
        argc, argv, [&] { return KESTRA_MODULE(KestraVerifyMain)(rest); });
  }
  const HostParse parse = ParseHostArguments(words);
  if (!parse.arguments) {
    std::cerr << "kestra: " << parse.error << "\n" << HostUsage();
    return kUsageStatus;
  }
  if (parse.arguments->help) {
    std::cout << HostUsage();
    return 0;
  }
  if (KESTRA_MODULE(KestraCommandOpensDialog)(parse.arguments->mode) && !Interactive()) {
    // An invisible modal dialog would wait for ever for an answer nobody can give.
    std::cerr << "kestra: the command " << parse.arguments->mode
              << " opens a dialog and needs a display: set DISPLAY (or WAYLAND_DISPLAY) and "
                 "leave KESTRA_NONINTERACTIVE unset; for scripts use kestra verify\n";
    return kUsageStatus;
  }
  ChooseHeadlessWhenNeeded();
  return KESTRA_MODULE(KestraRunInApplication)(argc, argv, [&] {
    const int status = RunCommand(*parse.arguments);
    return KnownMode(parse.arguments->mode) ? status : UnknownMode(parse.arguments->mode);
  });
}
