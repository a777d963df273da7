#include "verify/rulex/RulexFlow.h"

#include <filesystem>
#include <system_error>

#include "verify/rulex/RulexCommandFile.h"
#include "verify/rulex/RulexPaths.h"
#include "verify/rulex/RulexProject.h"

RulexStage PrepareRulexInputs(const RulexRequest& request, const std::string& designLibrary,
                              const std::string& designName, RulexPlan& plan) {
  plan.listFile = RulexLibraryListPath(request.projectDir, request.referenceLibrary);
  plan.tempProject = RulexTempProjectPath(request.projectDir, request.projectName);
  // A failed copy would leave an earlier run's temporary project to be checked instead.
  std::error_code error;
  std::filesystem::copy_file(request.projectFile, plan.tempProject,
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error ||
      !UpdateTempProject(plan.tempProject, designLibrary, designName, request.selectedLibraries)) {
    return RulexStage::TempProjectFailed;
  }
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
  outcome.stage = PrepareRulexInputs(request, request.library, request.cell, outcome.plan);
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
  outcome.log = ParseRulexLog(plan.logFile);
  if (outcome.log.problem) {
    outcome.stage = RulexStage::LogProblem;
    return outcome;
  }
  outcome.stage = RulexStage::Verdict;
  outcome.message = RulexResultMessage(outcome.log.text);
  return outcome;
}

RulexStage PrepareRulexWindow(const RulexRequest& request, const std::vector<std::string>& cells,
                              RulexPlan& plan) {
  const RulexStage stage = PrepareRulexInputs(request, "", "", plan);
  if (stage != RulexStage::Verdict) return stage;
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
    case RulexStage::Verdict:
    case RulexStage::Cancelled:
      break;
  }
  return "";
}
