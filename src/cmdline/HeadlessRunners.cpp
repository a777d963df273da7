#include "cmdline/HeadlessRunners.h"

#include <array>
#include <cstdlib>
#include <iostream>

#include "base/HelpWord.h"
#include "cmdline/ListingVerbs.h"
#include "cmdline/VerifyFlows.h"
#include "convert/kicad/KicadImport.h"
#include "verify/PathNames.h"
#include "verify/VerifyVerb.h"
#include "verify/WaiverFile.h"
#include "verify/all/VerifyAllVerb.h"
#include "verify/all/merge/ReportVerb.h"
#include "verify/template/TemplateConsoleRun.h"

namespace {

int RunVerify(const std::vector<std::string>& words) {
  // A script has nobody to answer a message box: every message goes to standard error.
  ::setenv("KESTRA_NONINTERACTIVE", "1", 1);
  return RunVerifyVerb(words, RegisteredFlows(), std::cout, std::cerr);
}

int RunVerifyAllVerb(const std::vector<std::string>& words) {
  ::setenv("KESTRA_NONINTERACTIVE", "1", 1);
  return RunVerifyAll(words, RegisteredFlows(), std::cout, std::cerr);
}

int RunLibs(const std::vector<std::string>& words) {
  if (words.size() == 1 && IsHelpWord(words[0])) {
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

int RunFootprints(const std::vector<std::string>& words) {
  return ListFootprints(words, std::cout, std::cerr);
}

int RunImport(const std::vector<std::string>& words) {
  // kicad is the only source: `kestra import -help` is its help.
  if (words.size() == 1 && IsHelpWord(words[0])) return RunKicadImport(words, std::cout, std::cerr);
  if (words.empty() || words[0] != "kicad") {
    std::cerr
        << "kestra import: the only source is kicad\nusage: kestra import kicad -proj FILE.tak "
           "... (kestra import kicad -help)\n";
    return 2;
  }
  return RunKicadImport({words.begin() + 1, words.end()}, std::cout, std::cerr);
}

int RunTemplate(const std::vector<std::string>& words) {
  return TemplateCommand(words, std::cout, std::cerr);
}

int RunReport(const std::vector<std::string>& words) {
  return RunReportVerb(words, std::cout, std::cerr);
}

int RunWaive(const std::vector<std::string>& words) {
  return RunWaiveVerb(words, std::cout, std::cerr);
}

constexpr std::array kRunners = {
    NamedRunner{"libs", &RunLibs},         NamedRunner{"footprints", &RunFootprints},
    NamedRunner{"import", &RunImport},     NamedRunner{"verify", &RunVerify},
    NamedRunner{"report", &RunReport},     NamedRunner{"waive", &RunWaive},
    NamedRunner{"template", &RunTemplate}, NamedRunner{"verify all", &RunVerifyAllVerb},
};

}  // namespace

VerbRunner HeadlessVerbRunner(std::string_view name) { return FindRunner(kRunners, name); }
