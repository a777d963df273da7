#include "VerifyCommand.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "C5XBrowserUI.h"
#include "CKestraCmdLine.h"
#include "RulexConsoleRun.h"
#include "RulexPaths.h"
#include "RulexRequestFor.h"
#include "RulexRules.h"

namespace {

enum ExitStatus { kPassed = 0, kFailed = 1, kUnknown = 2, kPassedWithWarnings = 3 };

constexpr const char* kUsage =
    "usage: kestra verify rulex -proj FILE -lib LIB [-cell CELL] [-rules r1,r2,...] [-ref]\n"
    "                           [-json] [-product NAME]\n"
    "rules: origin, tristate, symbol-name, properties, pins (default: all five)\n"
    "exit status: 0 passed, 1 failed, 2 status unknown or not run, 3 passed with warnings\n";

struct RulexArguments {
  std::string project;
  std::string library;
  std::string cell;
  std::string product = "kestra";
  std::uint16_t rules = kAllRulexRules;
  bool reference = false;
  bool json = false;
};

// Parses the words after "rulex"; none (with the reason on stderr) when they are not usable.
std::optional<RulexArguments> ParseRulexArguments(const std::vector<std::string>& words) {
  RulexArguments args;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "-ref") {
      args.reference = true;
      continue;
    }
    if (word == "-json") {
      args.json = true;
      continue;
    }
    if (i + 1 >= words.size()) {
      std::cerr << "kestra verify rulex: " << word
                << (word.front() == '-' ? " needs a value\n" : ": unexpected\n");
      return std::nullopt;
    }
    const std::string& value = words[++i];
    if (word == "-proj") {
      args.project = value;
    } else if (word == "-lib") {
      args.library = value;
    } else if (word == "-cell") {
      args.cell = value;
    } else if (word == "-product") {
      args.product = value;
    } else if (word == "-rules") {
      std::string unknown;
      const auto rules = ParseRuleNames(value, unknown);
      if (!rules) {
        std::cerr << "kestra verify rulex: unknown rule \"" << unknown << "\"\n";
        return std::nullopt;
      }
      args.rules = *rules;
    } else {
      std::cerr << "kestra verify rulex: unknown option " << word << "\n";
      return std::nullopt;
    }
  }
  if (args.project.empty() || args.library.empty()) {
    std::cerr << "kestra verify rulex: -proj and -lib are required\n";
    return std::nullopt;
  }
  return args;
}

int ExitStatusOf(RulexVerdict verdict) {
  switch (verdict) {
    case RulexVerdict::Passed:
      return kPassed;
    case RulexVerdict::PassedWithWarnings:
      return kPassedWithWarnings;
    case RulexVerdict::Failed:
      return kFailed;
    case RulexVerdict::Unknown:
      break;
  }
  return kUnknown;
}

void PrintJson(const RulexArguments& args, const RulexOutcome& outcome, const std::string& why) {
  const bool verdict = outcome.stage == RulexStage::Verdict;
  nlohmann::json json = {
      {"flow", "rulex"},
      {"library", args.library},
      {"cell", args.cell},
      {"verdict", VerdictName(verdict ? outcome.log.verdict : RulexVerdict::Unknown)},
      {"message", verdict ? outcome.message : why},
      {"log", outcome.plan.logFile},
  };
  static const char* const names[] = {"info", "oversights", "warnings", "errors", "fatal", "total"};
  for (int i = 0; i < RulexCounts::kCount; ++i) {
    json["counts"][names[i]] = verdict ? nlohmann::json(outcome.log.counts.value[i]) : nullptr;
  }
  std::cout << json.dump(2) << "\n";
}

// Why a run gave no verdict, in the dialog's words where it has them.
std::string ReasonOf(const RulexOutcome& outcome) {
  switch (outcome.stage) {
    case RulexStage::TempProjectFailed:
      return "Unable to run Rules Checker as temp project file updation failed";
    case RulexStage::RunDirectoryFailed:
      return "Unable to run Rules Checker as the run directory \"" + outcome.plan.runDirectory +
             "\" could not be created";
    case RulexStage::CommandFileFailed:
      return "Unable to run Rules Checker as the command file \"" + outcome.plan.commandFile +
             "\" could not be written";
    case RulexStage::LogProblem:
      return "Error in Rule execution, see log file (" + outcome.log.text + ")";
    default:
      return "";
  }
}

int RunRulex(const RulexArguments& args) {
  std::error_code error;
  const std::string project = std::filesystem::absolute(args.project, error).string();
  if (error || !std::filesystem::is_regular_file(project, error)) {
    std::cerr << "kestra verify rulex: no project file " << args.project << "\n";
    return kUnknown;
  }
  CKestraCmdLine command;
  command.SetProduct(args.product);
  command.SetProject(project);
  {
    C5XBrowserUI browser(command.GetProjectPath(), command.GetProjectName());
    if (!browser.IsLibExisting(args.library)) {
      std::cerr << "kestra verify rulex: no library " << args.library << " in "
                << command.GetProjectPath() << (args.reference ? "refqvd.lib\n" : "qvd.lib\n");
      return kUnknown;
    }
  }
  const RulexRequest request =
      RulexRequestFor(command, MappedOrSelected(args.library), args.cell, {args.library},
                      args.reference, MakeRuleList(args.rules));
  ConsoleToolRunner runner(*command.GetLauncher(), args.product,
                           [](const std::string& detail) { std::cerr << detail << std::flush; });
  std::cerr << RulexStatusText(request.library, request.cell) << "\n";
  const RulexOutcome outcome = RunRulexFlow(request, runner);
  const std::string why = ReasonOf(outcome);
  if (!why.empty()) std::cerr << "kestra verify rulex: " << why << "\n";
  if (args.json) {
    PrintJson(args, outcome, why);
  } else if (outcome.stage == RulexStage::Verdict) {
    std::cout << outcome.message << "\n";
  }
  if (outcome.stage != RulexStage::Verdict) return kUnknown;
  std::cerr << "log: " << outcome.plan.logFile << "\n";
  return ExitStatusOf(outcome.log.verdict);
}

}  // namespace

int RunVerifyCommand(const std::vector<std::string>& args) {
  // A script has nobody to answer a message box: every message goes to standard error.
  setenv("KESTRA_NONINTERACTIVE", "1", 1);
  if (args.empty() || args[0] != "rulex") {
    std::cerr << "kestra verify: unknown flow" << (args.empty() ? "" : " " + args[0]) << "\n"
              << kUsage;
    return kUnknown;
  }
  const auto rulex = ParseRulexArguments({args.begin() + 1, args.end()});
  if (!rulex) {
    std::cerr << kUsage;
    return kUnknown;
  }
  return RunRulex(*rulex);
}
