#include "verify/template/TemplateRun.h"

#include <exception>

#include "base/FlowNames.h"
#include "outside/Tamsin.h"
#include "verify/template/TemplateTexts.h"

namespace {

// text of a failure of the engine: its own words, or a short sentence for anything else.
template <class Work>
std::string EngineFailure(const Work& work) {
  try {
    work();
    return "";
  } catch (const BException& problem) {
    return problem.getExceptionInfo();
  } catch (const std::exception& problem) {
    return std::string("The template library failed: ") + problem.what();
  }
}

VerifyResult CheckCell(const TemplateRequest& request, const std::string& cell,
                       const RTemplateFile& site, const TemplateProgress& progress) {
  VerifyResult result = FlowResult(kTemplateFlow, request.library, cell);
  BMesgList differences;
  int count = 0;
  const std::string failure = EngineFailure([&] {
    AppPartCheck check;
    check.setErrorList(&differences);
    check.setTemplate(site);
    check.loadPart(request.libraryList, request.library, cell);
    count = check.runChecks(request.aspects);
  });
  if (!failure.empty()) return NotRunResult(std::move(result), failure);
  for (const BMesgText& difference : differences.getMessages()) {
    Finding finding;
    finding.rule = "template_difference";
    finding.severity = difference.isError() ? Severity::Error : Severity::Warning;
    finding.part = cell;
    finding.message = difference.getText();
    AddFinding(result, std::move(finding));
    if (progress.differences != nullptr)
      progress.differences->add(difference.getText(), difference.isError());
  }
  // One line per finding kept: the text output has one line per part.
  if (progress.say)
    for (const Finding& finding : result.findings) progress.say("  " + finding.message);
  result.counts.emplace_back("differences", count);
  result.verdict = count == 0 ? Verdict::Passed : Verdict::Failed;
  result.message = count == 0
                       ? kNoTemplateDifferences
                       : std::to_string(count) + (count == 1 ? " difference" : " differences") +
                             " from template " + site.getFileName();
  return result;
}

}  // namespace

std::vector<VerifyResult> RunTemplate(const TemplateRequest& request,
                                      const TemplateProgress& progress) {
  const VerifyResult whole = FlowResult(kTemplateFlow, request.library, request.cell);
  RTemplateFile site;
  if (const std::string failure = EngineFailure([&] { site.readFile(request.templateFile); });
      !failure.empty())
    return {NotRunResult(whole, failure)};
  if (request.cells.empty())
    return {NotRunResult(whole, "library " + request.library + " has no cells")};
  std::vector<VerifyResult> results;
  for (std::size_t i = 0; i < request.cells.size(); ++i) {
    if (progress.say)
      progress.say("template: checking " + request.library + "/" + request.cells[i] + " (" +
                   std::to_string(i + 1) + " of " + std::to_string(request.cells.size()) +
                   ") against " + site.getFileName());
    results.push_back(CheckCell(request, request.cells[i], site, progress));
  }
  return results;
}
