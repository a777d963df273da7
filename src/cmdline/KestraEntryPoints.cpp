#include "cmdline/KestraEntryPoints.h"

#include <cstdlib>
#include <iostream>

#include "cmdline/CommandTable.h"
#include "cmdline/VerifyFlows.h"
#include "convert/kicad/KicadImport.h"
#include "suite/browser/LibraryListing.h"
#include "verify/PathNames.h"
#include "verify/VerifyVerb.h"
#include "verify/WaiverFile.h"
#include "verify/all/VerifyAllVerb.h"
#include "verify/footprint/FootprintConsoleRun.h"
#include "verify/template/TemplateConsoleRun.h"

int KestraVerifyMain(const std::vector<std::string>& words) {
  // A script has nobody to answer a message box: every message goes to standard error.
  ::setenv("KESTRA_NONINTERACTIVE", "1", 1);
  if (!words.empty() && words.front() == "all")
    return RunVerifyAll({words.begin() + 1, words.end()}, RegisteredFlows(), std::cout, std::cerr);
  return RunVerifyVerb(words, RegisteredFlows(), std::cout, std::cerr);
}

int KestraReportMain(const std::vector<std::string>& words) {
  return RunReportVerb(words, std::cout, std::cerr);
}

int KestraWaiveMain(const std::vector<std::string>& words) {
  return RunWaiveVerb(words, std::cout, std::cerr);
}

int KestraLibsMain(const std::vector<std::string>& words) {
  if (words.size() == 1 && (words[0] == "-help" || words[0] == "--help" || words[0] == "-h")) {
    std::cout << "usage: kestra libs -proj FILE.tak\n";
    return 0;
  }
  if (words.size() != 2 || words[0] != "-proj") {
    std::cerr << "kestra libs: expected -proj FILE.tak\nusage: kestra libs -proj FILE.tak\n";
    return 2;
  }
  // A missing project is said as such, not shown as a project without libraries.
  std::string problem;
  const std::string project = ExistingProjectFile(words[1], problem);
  if (project.empty()) {
    std::cerr << "kestra libs: " << problem << "\n";
    return 2;
  }
  return ListProjectLibraries(project, std::cout, std::cerr);
}

int KestraFootprintsMain(const std::vector<std::string>& words) {
  return ListFootprints(words, std::cout, std::cerr);
}

int KestraTemplateMain(const std::vector<std::string>& words) {
  return TemplateCommand(words, std::cout, std::cerr);
}

int KestraImportMain(const std::vector<std::string>& words) {
  if (words.empty() || words[0] != "kicad") {
    std::cerr
        << "kestra import: the only source is kicad\nusage: kestra import kicad -proj FILE.tak "
           "... (kestra import kicad -help)\n";
    return 2;
  }
  return RunKicadImport({words.begin() + 1, words.end()}, std::cout, std::cerr);
}

std::vector<std::string> KestraVerifyFlowNames() {
  std::vector<std::string> names;
  for (const VerifyFlow& flow : RegisteredFlows()) names.emplace_back(flow.name);
  return names;
}

std::vector<std::string> KestraCommandNames() {
  std::vector<std::string> names;
  for (const CommandEntry& entry : CommandTable()) names.emplace_back(entry.name);
  return names;
}

bool KestraCommandOpensDialog(const std::string& mode) {
  const CommandEntry* entry = FindCommand(mode);
  return entry != nullptr && entry->opensDialog;
}
