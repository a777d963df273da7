#include "verify/footprint/FootprintConsoleRun.h"

#include <algorithm>
#include <iostream>

#include "outside/CFootprint.h"
#include "verify/FlowNames.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/footprint/FootprintRows.h"
#include "verify/footprint/FootprintRun.h"
#include "verify/footprint/FootprintTexts.h"

namespace {

// The options that take a value (also what `kestra verify` must not read as its own).
constexpr std::string_view kFootprintValued[] = {"-proj", "-name", "-location"};

constexpr const char* kListUsage = "usage: kestra footprints -proj FILE.tak [-filter PATTERN]\n";
constexpr const char* kVerifyUsage =
    "-proj FILE -name NAME [-location DIR]\n"
    "  checks NAME.dra as the layout editor does for a verify file; -location picks the folder\n"
    "  of the footprint search path when the drawing is in more than one";

}  // namespace

int ListFootprints(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.size() == 1 && (words[0] == "-help" || words[0] == "--help" || words[0] == "-h")) {
    out << kListUsage;
    return 0;
  }
  std::string error;
  const auto given = FlowWords::Parse(words, {}, {"-proj", "-filter"}, {"-proj"}, error);
  std::string project = given ? given->Value("-proj") : "";
  const std::string pattern = given ? given->Value("-filter") : "";
  if (!given) {
    err << "kestra footprints: " << error << "\n" << kListUsage;
    return 2;
  }
  project = ExistingProjectFile(project, error);
  if (project.empty()) {
    err << "kestra footprints: " << error << "\n";
    return 2;
  }
  CFootprint footprints;
  BuildFootprintList(footprints, project);
  if (footprints.SearchPath().empty()) {
    for (const std::string& problem : footprints.Problems())
      err << "kestra footprints: " << problem << "\n";
    return 2;
  }
  CFilter filter("*", 0);
  const std::vector<FootprintRow> rows = MatchingFootprints(footprints, filter, pattern);
  std::size_t width = std::string("Footprint").size();
  for (const FootprintRow& row : rows) width = std::max(width, row.name.size());
  auto line = [&](const std::string& name, const std::string& location) {
    out << name << std::string(width - name.size() + 2, ' ') << location << "\n";
  };
  line("Footprint", "Location");
  for (const FootprintRow& row : rows) line(row.name, row.location);
  TellAboutFootprintPath(footprints, err);
  return 0;
}

namespace {

FlowRun RunFootprintVerb(const std::vector<std::string>& words) {
  FlowRun run;
  const auto given =
      FlowWords::Parse(words, {}, kFootprintValued, {"-proj", "-name"}, run.usageError);
  if (!given) return run;
  FootprintRequest request{given->Value("-proj"), given->Value("-name"), given->Value("-location")};
  run.results = RunFootprint(request, std::cerr);
  return run;
}

}  // namespace

VerifyFlow FootprintVerifyFlow() {
  return {kFootprintFlow, "a footprint's drawing (.dra) on the project's footprint search path",
          kVerifyUsage,   RunFootprintVerb,
          nullptr,        kFootprintValued};
}
