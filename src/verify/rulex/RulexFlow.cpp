#include "verify/rulex/RulexFlow.h"

#include <filesystem>
#include <system_error>

#include "base/ArgumentValue.h"
#include "base/ReplaceFile.h"
#include "base/SignalText.h"
#include "verify/rulex/RulexCommandFile.h"
#include "verify/rulex/RulexFindings.h"
#include "verify/rulex/RulexPaths.h"
#include "verify/rulex/RulexProject.h"

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
      return std::string(what) + " \"" + *value +
             "\" cannot be passed to the Rules Checker: " + why;
  }
  return "";
}

}  // namespace

RulexStage PrepareRulexInputs(const RulexRequest& request, const std::string& designLibrary,
                              const std::string& designName, RulexPlan& plan,
                              std::string& refusal) {
  plan.listFile = RulexLibraryListPath(request.projectDir, request.referenceLibrary);
  plan.tempProject = RulexTempProjectPath(request.projectDir, request.projectName);
  refusal = RefusedValue(request, plan);
  if (!refusal.empty()) return RulexStage::ValueRefused;
  // A failed copy would leave an earlier run's temporary project to be checked instead. The
  // copy replaces whatever stands at its place (a planted link is not followed).
  std::string project;
  KeptDirectives kept;
  if (!ReadRegularFile(request.projectFile, project) ||
      !ReplaceFileContent(plan.tempProject, project) ||
      !UpdateTempProject(plan.tempProject, designLibrary, designName, request.selectedLibraries,
                         &kept)) {
    return RulexStage::TempProjectFailed;
  }
  plan.lockNote = KeptDirectivesNote(kept);
  plan.options = RulexOptions(plan.tempProject, plan.listFile);
  plan.runDirectory =
      RulexRunDirectory(request.projectDir, ReadRulexRunDirectory(request.projectFile));
  plan.commandFile = plan.runDirectory + "/rx.dat";
  plan.logFile = plan.runDirectory + "/rx.msg";
  if (!MakeDirectoryPath(plan.runDirectory)) return RulexStage::RunDirectoryFailed;
  return RulexStage::Verdict;
}

RulexOutcome RunRulexFlow(const RulexRequest& request, RulexToolRunner& runner) {
  RulexOutcome outcome;
  outcome.stage =
      PrepareRulexInputs(request, request.library, request.cell, outcome.plan, outcome.problem);
  if (outcome.stage != RulexStage::Verdict) return outcome;
  RulexPlan& plan = outcome.plan;

  std::error_code error;
  std::filesystem::remove(plan.logFile, error);
  if (error || !WriteRulexCommandFile(plan.commandFile, request.library, request.cell,
                                      request.rules, request.installRoot)) {
    outcome.stage = RulexStage::CommandFileFailed;
    return outcome;
  }
  plan.statusText = RulexStatusText(request.library, request.cell);
  if (!runner.Run(plan)) {
    outcome.stage = RulexStage::Cancelled;
    return outcome;
  }
  if (const int signal = runner.EndSignal(); signal != 0) {
    // A checker that crashed may have written a passing log before it died.
    outcome.stage = RulexStage::ToolKilled;
    outcome.problem = SignalText(signal);
    return outcome;
  }
  outcome.log = ParseRulexLog(plan.logFile);
  ReadRulexFindings(plan.logFile, request.cell, outcome.findings, outcome.findingsTruncated);
  if (outcome.log.problem) {
    outcome.stage = RulexStage::LogProblem;
    return outcome;
  }
  outcome.stage = RulexStage::Verdict;
  outcome.message = RulexResultMessage(outcome.log.text);
  return outcome;
}

RulexStage PrepareRulexWindow(const RulexRequest& request, const std::vector<std::string>& cells,
                              RulexPlan& plan, std::string& refusal) {
  const RulexStage stage = PrepareRulexInputs(request, "", "", plan, refusal);
  if (stage != RulexStage::Verdict) return stage;
  for (const std::string& cell : cells) {
    if (std::string why = ArgumentValueProblem(cell, true); !why.empty()) {
      refusal = "the cell name \"" + cell + "\" cannot be passed to the Rules Checker: " + why;
      return RulexStage::ValueRefused;
    }
  }
  if (!EmptyRulexCommandFile(plan.commandFile)) return RulexStage::CommandFileFailed;
  plan.options += RulexSelectionOptions(request.library, cells);
  return RulexStage::Verdict;
}

std::string RulexFailureText(const RulexOutcome& outcome, const std::string& tempProjectMessage) {
  switch (outcome.stage) {
    case RulexStage::TempProjectFailed:
      return tempProjectMessage;
    case RulexStage::RunDirectoryFailed:
      return "Unable to run Rules Checker as the run directory \"" + outcome.plan.runDirectory +
             "\" could not be created";
    case RulexStage::CommandFileFailed:
      return "Unable to run Rules Checker as the command file \"" + outcome.plan.commandFile +
             "\" could not be written";
    case RulexStage::LogProblem:
      return kRulexLogError;
    case RulexStage::ValueRefused:
      return "Unable to run Rules Checker as " + outcome.problem;
    case RulexStage::ToolKilled:
      return "The Rules Checker was ended by " + outcome.problem +
             "; its verdict is unknown. See log file " + outcome.plan.logFile;
    case RulexStage::Verdict:
    case RulexStage::Cancelled:
      break;
  }
  return "";
}
