// kestra: has the module make the Qt application and its command object, hands it the
// product, the project and the command, runs the command and exits. The headless verbs
// (`kestra verify`, `kestra report`, ...) are looked up in the verb table (VerbTable.h) and go
// to the headless library, which loads no Qt; `kestra verify rulex` (HeadlessVerbs.h), the
// usage, the version and `kestra help` run in the host alone. Only a -mode command loads the
// module.
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
