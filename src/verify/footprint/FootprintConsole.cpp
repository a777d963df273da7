#include "verify/footprint/FootprintConsole.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>

#include "base/HelpWord.h"
#include "outside/CFootprint.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/footprint/FootprintCheck.h"
#include "verify/footprint/FootprintFlow.h"
#include "verify/footprint/FootprintRows.h"

namespace fs = std::filesystem;

namespace {

// The options that take a value (also what `kestra verify` must not read as its own).
constexpr std::string_view kFootprintValued[] = {"-proj", "-name", "-location"};

constexpr const char* kListUsage = "usage: kestra footprints -proj FILE.tak [-filter PATTERN]\n";
constexpr const char* kVerifyUsage =
    "-proj FILE -name NAME [-location DIR]\n"
    "  checks NAME.dra as the layout editor does for a verify file; -location picks the folder\n"
    "  of the footprint search path when the drawing is in more than one";

// The folders the list was built from, when they are the install's defaults, and the folders
// that were skipped: each once, on err.
void TellAboutPath(const CFootprint& footprints, std::ostream& err) {
  if (footprints.SearchPathIsDefault()) {
    err << "footprints: the project sets no PSMPATH (program PAVREL); using";
    for (const std::string& folder : footprints.SearchPath()) err << " " << folder;
    err << "\n";
  }
  for (const std::string& problem : footprints.Problems())
    err << "footprints: skipped " << problem << "\n";
}

}  // namespace

int ListFootprints(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.size() == 1 && IsHelpWord(words[0])) {
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
  TellAboutPath(footprints, err);
  return 0;
}

namespace {

struct VerifyArguments {
  std::string project;
  std::string name;
  std::string location;
};

VerifyResult FootprintResult(const VerifyArguments& args) {
  return FlowResult("footprint", args.location, args.name);
}

VerifyResult NotRun(const VerifyArguments& args, std::string cause) {
  return NotRunResult(FootprintResult(args), std::move(cause));
}

// A finding of the footprint check: "line N: text" says where in the file it is.
Finding FootprintFinding(const std::string& text, const std::string& footprint,
                         const std::string& file) {
  Finding finding;
  finding.rule = "footprint_syntax";
  finding.part = footprint;
  finding.message = text;
  finding.file = file;
  static constexpr std::string_view kLine = "line ";
  if (text.starts_with(kLine)) {
    long line = 0;
    const char* begin = text.data() + kLine.size();
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), line);
    if (error == std::errc() && end != begin && line > 0) finding.line = line;
  }
  return finding;
}

FlowRun RunFootprintVerify(const std::vector<std::string>& words) {
  FlowRun run;
  const auto given =
      FlowWords::Parse(words, {}, kFootprintValued, {"-proj", "-name"}, run.usageError);
  if (!given) return run;
  VerifyArguments args{given->Value("-proj"), given->Value("-name"), given->Value("-location")};
  std::string problem;
  const std::string project = ExistingProjectFile(args.project, problem);
  if (project.empty()) {
    run.results.push_back(NotRun(args, problem));
    return run;
  }
  if (!args.location.empty()) args.location = AbsolutePath(args.location);

  CFootprint search;
  search.CreateFootprintList(project, FootprintDrawingName(args.name), 0, 1);
  TellAboutPath(search, std::cerr);
  std::vector<CFootprintItem*> found;
  search.GetFootprintList(found);
  // A footprint that is not there (anywhere, or where -location says) is a run that could not
  // be made, not a drawing that failed its check.
  if (found.empty()) {
    run.results.push_back(NotRun(args, std::string(kDrawingNotFound) + ": no footprint " +
                                           FootprintDrawingName(args.name) +
                                           " on the footprint search path"));
    return run;
  }
  VerifyResult result = FootprintResult(args);
  result.verdict = Verdict::Failed;
  CFootprintItem* chosen = found.front();
  if (!args.location.empty()) {
    auto in = std::find_if(found.begin(), found.end(), [&](CFootprintItem* item) {
      return search.GetPropPath(item) == args.location;
    });
    if (in == found.end()) {
      run.results.push_back(NotRun(args, FootprintDrawingName(args.name) + " is not in " +
                                             args.location + " (found in " +
                                             search.GetPropPath(found.front()) +
                                             (found.size() > 1 ? " and elsewhere" : "") + ")"));
      return run;
    }
    chosen = *in;
  } else if (found.size() > 1) {
    std::cerr << "footprint: " << FootprintDrawingName(args.name) << " is in " << found.size()
              << " folders; checking the first on the path (choose with -location)\n";
  }
  const std::string folder = search.GetPropPath(chosen);
  // The name on disk may differ in case from the one asked for.
  const std::string name = search.GetPropValue(chosen);
  const std::string file = folder + "/" + FootprintDrawingName(name);
  result.library = folder;
  result.cell = name;
  const FootprintCheck check = CheckFootprintFile(file, name);
  if (!check.read) {
    result.verdict = Verdict::Unknown;
    result.message = result.cause = "cannot read " + file;
    run.results.push_back(result);
    return run;
  }
  for (const std::string& text : check.findings) {
    AddFinding(result, FootprintFinding(text, name, file));
    std::cerr << file << ": " << text << "\n";
  }
  result.findingsTruncated = result.findingsTruncated || check.truncated;
  result.counts.emplace_back("errors", static_cast<long>(check.findings.size()));
  result.verdict = check.findings.empty() ? Verdict::Passed : Verdict::Failed;
  result.message = "Footprint " + name + (check.findings.empty() ? " passed" : " failed") +
                   " the check (" + std::to_string(check.findings.size()) + " error" +
                   (check.findings.size() == 1 ? "" : "s") + "): " + file;
  run.results.push_back(result);
  return run;
}

}  // namespace

VerifyFlow FootprintVerifyFlow() {
  return {"footprint",  "a footprint's drawing (.dra) on the project's footprint search path",
          kVerifyUsage, RunFootprintVerify,
          nullptr,      kFootprintValued};
}
