#include "verify/rulex/RulexRun.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "base/ArgumentValue.h"
#include "base/FlowNames.h"
#include "base/SignalText.h"
#include "verify/rulex/RulexCommandFile.h"
#include "verify/rulex/RulexFindings.h"
#include "verify/rulex/RulexPaths.h"
#include "verify/rulex/RulexProject.h"
#include "verify/rulex/RulexTexts.h"

namespace {

// The first value that cannot reach the checker as one word (every one is quoted in the
// option text or rx.dat), as the user should read it; "" when all can.
std::string RefusedValue(const RulexRequest& request, const RulexPlan& plan) {
  const std::pair<const char*, const std::string*> values[] = {
      {"the project folder", &plan.tempProject},
      {"the library list", &plan.listFile},
      {"the library name", &request.library},
      {"the cell name", &request.cell},
  };
  for (const auto& [what, value] : values) {
    if (std::string why = ArgumentValueProblem(*value, true); !why.empty())
      return RulexRefusedValueText(what, *value, why);
  }
  return "";
}

RulexStage Stop(RulexPlan& plan, RulexStage stage) { return plan.stage = stage; }

// Everything up to the checker's start; Verdict when it may start.
RulexStage PrepareRun(const RulexRequest& request, RulexPlan& plan) {
  if (PrepareRulexInputs(request, request.library, request.cell, plan) != RulexStage::Verdict)
    return plan.stage;
  std::error_code error;
  std::filesystem::remove(plan.logFile, error);
  if (error || !WriteRulexCommandFile(plan.commandFile, request.library, request.cell,
                                      request.rules, request.installRoot)) {
    return Stop(plan, RulexStage::CommandFileFailed);
  }
  plan.start.operation = ToolOperation::Rulex;
  plan.start.arguments = plan.options;
  plan.start.statusText = RulexStatusText(request.library, request.cell);
  plan.start.note = plan.lockNote;
  return plan.stage;
}

// The checker's run and its log; Cancelled when the user stopped it.
RulexStage RunChecker(const RulexRequest& request, ToolRunner& runner, RulexPlan& plan,
                      VerifyResult& result) {
  if (!runner.Run(plan.start)) return Stop(plan, RulexStage::Cancelled);
  if (const int signal = runner.EndSignal(); signal != 0) {
    // A checker that crashed may have written a passing log before it died.
    plan.problem = SignalText(signal);
    return Stop(plan, RulexStage::ToolKilled);
  }
  plan.log = ReadRulexLogAndFindings(plan.logFile, request.cell, result.findings,
                                     result.findingsTruncated);
  return Stop(plan, plan.log.problem ? RulexStage::LogProblem : RulexStage::Verdict);
}

}  // namespace

RulexStage PrepareRulexInputs(const RulexRequest& request, const std::string& designLibrary,
                              const std::string& designName, RulexPlan& plan) {
  plan.listFile = RulexLibraryListPath(request.projectDir, request.referenceLibrary);
  plan.tempProject = RulexTempProjectPath(request.projectDir, request.projectName);
  plan.problem = RefusedValue(request, plan);
  if (!plan.problem.empty()) return Stop(plan, RulexStage::ValueRefused);
  // A temporary project that could not be written would leave an earlier run's to be checked
  // instead.
  RulexProjectSettings settings;
  if (!WriteTempProject(request.projectFile, plan.tempProject, designLibrary, designName,
                        request.selectedLibraries, settings)) {
    return Stop(plan, RulexStage::TempProjectFailed);
  }
  plan.lockNote = KeptDirectivesNote(settings.kept);
  plan.options = RulexOptions(plan.tempProject, plan.listFile);
  plan.runDirectory = RulexRunDirectory(request.projectDir, settings.runDirectory);
  plan.commandFile = plan.runDirectory + "/rx.dat";
  plan.logFile = plan.runDirectory + "/rx.msg";
  // A run folder that is there (every run after the first) is not made again folder by folder.
  std::error_code error;
  if (!std::filesystem::is_directory(plan.runDirectory, error) &&
      !MakeDirectoryPath(plan.runDirectory))
    return Stop(plan, RulexStage::RunDirectoryFailed);
  return Stop(plan, RulexStage::Verdict);
}

std::vector<VerifyResult> RunRulex(const RulexRequest& request, ToolRunner& runner,
                                   RulexPlan& plan) {
  VerifyResult result = FlowResult(kRulexFlow, request.selectedLibrary, request.cell);
  if (PrepareRun(request, plan) == RulexStage::Verdict &&
      RunChecker(request, runner, plan, result) == RulexStage::Cancelled) {
    return {};
  }
  result.log = plan.logFile;
  static const char* const names[] = {"info", "oversights", "warnings", "errors", "fatal", "total"};
  const bool verdict = plan.stage == RulexStage::Verdict;
  for (int i = 0; i < RulexCounts::kCount; ++i) {
    result.counts.emplace_back(
        names[i], verdict ? std::optional<long>(plan.log.counts.value[i]) : std::nullopt);
  }
  if (verdict) {
    result.verdict = plan.log.verdict;
    result.message = RulexResultMessage(plan.log.text);
  } else {
    std::string cause = RulexFailureText(plan, kRulexTempProjectFailed);
    if (plan.stage == RulexStage::LogProblem) cause += " (" + plan.log.text + ")";
    result.message = result.cause = cause;
  }
  return {std::move(result)};
}

RulexStage PrepareRulexWindow(const RulexRequest& request, const std::vector<std::string>& cells,
                              RulexPlan& plan) {
  if (PrepareRulexInputs(request, "", "", plan) != RulexStage::Verdict) return plan.stage;
  for (const std::string& cell : cells) {
    if (std::string why = ArgumentValueProblem(cell, true); !why.empty()) {
      plan.problem = RulexRefusedValueText("the cell name", cell, why);
      return Stop(plan, RulexStage::ValueRefused);
    }
  }
  if (!EmptyRulexCommandFile(plan.commandFile)) return Stop(plan, RulexStage::CommandFileFailed);
  plan.options += RulexSelectionOptions(request.library, cells);
  return plan.stage;
}
