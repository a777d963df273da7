// kestra: creates the Qt application and the module's command object, hands it the
// product, the project and the command, runs the command and exits.
#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "CKestraCmdLine.h"
#include "HostArguments.h"
#include "LibraryListing.h"
#include "VerifyCommand.h"

namespace {

constexpr int kUsageStatus = 2;

// Without a display (or when told not to ask anything) the windows go nowhere: a script or
// a CI job must not fail for want of a screen.
void ChooseHeadlessWhenNeeded() {
  const char* quiet = std::getenv("KESTRA_NONINTERACTIVE");
  const bool noDisplay = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  if ((noDisplay || (quiet && std::string(quiet) == "1")) && !std::getenv("QT_QPA_PLATFORM"))
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

int RunCommand(const HostArguments& a) {
  CKestraCmdLine command;
  // The host's order: product, project, mode, then the message server when given.
  command.SetProduct(a.product);
  command.SetProject(a.project);
  command.SetMode(a.mode);
  if (a.mpsSession) command.SetMpsSession(*a.mpsSession);
  if (a.mpsHost) command.SetMpsHost(*a.mpsHost);
  command.ExecuteCmd();
  return 0;
}

int RunLibs(const std::vector<std::string>& words) {
  if (words.size() != 2 || words[0] != "-proj") {
    std::cerr << "kestra libs: expected -proj PROJECT.tak\n" << kHostUsage;
    return kUsageStatus;
  }
  return ListProjectLibraries(words[1], std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (!words.empty() && words[0] == "libs") return RunLibs({words.begin() + 1, words.end()});
  ChooseHeadlessWhenNeeded();
  if (!words.empty() && words[0] == "verify") {
    QApplication app(argc, argv);
    return RunVerifyCommand({words.begin() + 1, words.end()});
  }
  const HostParse parse = ParseHostArguments(words);
  if (!parse.arguments) {
    std::cerr << "kestra: " << parse.error << "\n" << kHostUsage;
    return kUsageStatus;
  }
  if (parse.arguments->help) {
    std::cout << kHostUsage;
    return 0;
  }
  QApplication app(argc, argv);
  return RunCommand(*parse.arguments);
}
