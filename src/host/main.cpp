// kestra: has the module make the Qt application and its command object, hands it the
// product, the project and the command, runs the command and exits. The headless verbs
// (`kestra verify`, `kestra report`, ...) are looked up in the verb table (VerbTable.h) and go
// to the headless library, which loads no Qt; `kestra verify rulex` (HeadlessVerbs.h), the
// usage, the version and `kestra help` run in the host alone. A -mode command that only starts
// a tool runs in the headless library too; only the other -mode commands (the dialogs, an
// unknown command) load the module.
#include <cctype>
#include <iostream>
#include <string>
#include <vector>

#include "cmdline/KestraEntryPoints.h"
#include "cmdline/VerbTable.h"
#include "host/HostArguments.h"
#include "host/HostEnvironment.h"
#include "host/HostHelp.h"
#include "host/ModuleLibrary.h"
#include "host/NearestWord.h"

namespace {

constexpr int kUsageStatus = 2;

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

// The host's argc and argv, for the application object a message box needs.
struct ToolRun {
  int& argc;
  char** argv;
};

// A tool command's message: in a message box when somebody can read it (the module, and with
// it Qt, is loaded for that alone), else on standard error as the module's non-interactive
// message boxes write it ("error: ...", line breaks as \n).
void TellToolMessage(const char* text, int error, void* context) {
  if (Interactive()) {
    ToolRun& run = *static_cast<ToolRun*>(context);
    KESTRA_MODULE(KestraRunInApplication)
    (run.argc, run.argv, [&] {
      KESTRA_MODULE(KestraShowMessage)(text, error != 0);
      return 0;
    });
    return;
  }
  std::string line = error != 0 ? "error: " : "message: ";
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '\n') {
      line += "\\n";
    } else if (*c != '\r') {
      line += *c;
    }
  }
  std::cerr << line << std::endl;
}

// Runs a command that only starts a tool without the module: the exit status (0 started, 2
// not started, the user told why), or -1 when the mode names no such command.
int StartToolWithoutModule(const HostArguments& a, int& argc, char** argv) {
  ToolRun run{argc, argv};
  return HeadlessToolEntry()(a.product.c_str(), a.project.c_str(), a.mode.c_str(),
                             a.mpsSession.value_or("").c_str(), a.mpsHost.value_or("").c_str(),
                             TellToolMessage, &run);
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
  if (words[0] == "help") return RunHostHelp(argv[0], rest);
  if (FindVerb(words) != nullptr) return RunVerb(argv[0], words);
  ProvideRuntimeDirectory();
  const HostParse parse = ParseHostArguments(words);
  if (!parse.arguments) {
    std::cerr << "kestra: " << parse.error << "\n" << HostUsage();
    return kUsageStatus;
  }
  if (parse.arguments->help) {
    std::cout << HostUsage();
    return 0;
  }
  // The tools inherit what a run without a display sets (KESTRA_NONINTERACTIVE, the Qt
  // platform), as they did when the module started them.
  ChooseHeadlessWhenNeeded();
  if (const int status = StartToolWithoutModule(*parse.arguments, argc, argv); status >= 0)
    return status;
  if (KESTRA_MODULE(KestraCommandOpensDialog)(parse.arguments->mode) && !Interactive()) {
    // An invisible modal dialog would wait for ever for an answer nobody can give.
    std::cerr << "kestra: the command " << parse.arguments->mode
              << " opens a dialog and needs a display: set DISPLAY (or WAYLAND_DISPLAY) and "
                 "leave KESTRA_NONINTERACTIVE unset; for scripts use kestra verify\n";
    return kUsageStatus;
  }
  return KESTRA_MODULE(KestraRunInApplication)(argc, argv, [&] {
    const int status = RunCommand(*parse.arguments);
    return KnownMode(parse.arguments->mode) ? status : UnknownMode(parse.arguments->mode);
  });
}
