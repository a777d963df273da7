#include "verify/footprint/FootprintRun.h"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "base/FlowNames.h"
#include "outside/CFootprint.h"
#include "verify/PathNames.h"
#include "verify/footprint/FootprintCheck.h"
#include "verify/footprint/FootprintRows.h"
#include "verify/footprint/FootprintTexts.h"

namespace {

VerifyResult NotRun(const FootprintRequest& args, std::string cause) {
  return NotRunResult(FlowResult(kFootprintFlow, args.location, args.name), std::move(cause));
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

}  // namespace

std::vector<VerifyResult> RunFootprint(const FootprintRequest& request, std::ostream& progress) {
  FootprintRequest args = request;
  std::string problem;
  const std::string project = ExistingProjectFile(args.project, problem);
  if (project.empty()) {
    return {NotRun(args, problem)};
  }
  if (!args.location.empty()) args.location = AbsolutePath(args.location);

  CFootprint search;
  search.CreateFootprintList(project, FootprintDrawingName(args.name), 0, 1);
  TellAboutFootprintPath(search, progress);
  std::vector<CFootprintItem*> found;
  search.GetFootprintList(found);
  // A footprint that is not there (anywhere, or where -location says) is a run that could not
  // be made, not a drawing that failed its check.
  if (found.empty()) {
    return {NotRun(args, std::string(kDrawingNotFound) + ": no footprint " +
                             FootprintDrawingName(args.name) + " on the footprint search path")};
  }
  VerifyResult result = FlowResult(kFootprintFlow, args.location, args.name);
  result.verdict = Verdict::Failed;
  CFootprintItem* chosen = found.front();
  if (!args.location.empty()) {
    auto in = std::find_if(found.begin(), found.end(), [&](CFootprintItem* item) {
      return search.GetPropPath(item) == args.location;
    });
    if (in == found.end()) {
      return {NotRun(args, FootprintDrawingName(args.name) + " is not in " + args.location +
                               " (found in " + search.GetPropPath(found.front()) +
                               (found.size() > 1 ? " and elsewhere" : "") + ")")};
    }
    chosen = *in;
  } else if (found.size() > 1) {
    progress << "footprint: " << FootprintDrawingName(args.name) << " is in " << found.size()
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
    return {result};
  }
  for (const std::string& text : check.findings) {
    AddFinding(result, FootprintFinding(text, name, file));
    progress << file << ": " << text << "\n";
  }
  result.findingsTruncated = result.findingsTruncated || check.truncated;
  result.counts.emplace_back("errors", static_cast<long>(check.findings.size()));
  result.verdict = check.findings.empty() ? Verdict::Passed : Verdict::Failed;
  result.message = "Footprint " + name + (check.findings.empty() ? " passed" : " failed") +
                   " the check (" + std::to_string(check.findings.size()) + " error" +
                   (check.findings.size() == 1 ? "" : "s") + "): " + file;
  return {result};
}
