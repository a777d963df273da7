#include "verify/rulex/RulexTexts.h"

#include "verify/rulex/RulexRun.h"

std::string RulexStatusText(const std::string& library, const std::string& cell) {
  return "Library : " + library + (cell.empty() ? "" : ", Part : " + cell);
}

std::string RulexResultMessage(const std::string& verdictText) {
  return "View verification " + verdictText + " See log file for details.";
}

std::string RulexRefusedValueText(const std::string& what, const std::string& value,
                                  const std::string& why) {
  return what + " \"" + value + "\" cannot be passed to the Rules Checker: " + why;
}

std::string RulexFailureText(const RulexPlan& plan, const std::string& tempProjectMessage) {
  switch (plan.stage) {
    case RulexStage::TempProjectFailed:
      return tempProjectMessage;
    case RulexStage::RunDirectoryFailed:
      return "Unable to run Rules Checker as the run directory \"" + plan.runDirectory +
             "\" could not be created";
    case RulexStage::CommandFileFailed:
      return "Unable to run Rules Checker as the command file \"" + plan.commandFile +
             "\" could not be written";
    case RulexStage::LogProblem:
      return kRulexLogError;
    case RulexStage::ValueRefused:
      return "Unable to run Rules Checker as " + plan.problem;
    case RulexStage::ToolKilled:
      return "The Rules Checker was ended by " + plan.problem +
             "; its verdict is unknown. See log file " + plan.logFile;
    case RulexStage::Verdict:
    case RulexStage::Cancelled:
      break;
  }
  return "";
}
