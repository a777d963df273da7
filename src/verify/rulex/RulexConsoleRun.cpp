#include "verify/rulex/RulexConsoleRun.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "context/CKestraCmdContext.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "verify/ConsoleToolRun.h"
#include "verify/rulex/RulexPaths.h"
#include "verify/rulex/RulexRequestFor.h"
#include "verify/rulex/RulexRules.h"

namespace {

constexpr const char* kUsage =
    "-proj FILE -lib LIB [-cell CELL] [-rules r1,r2,...] [-ref] [-product NAME]\n"
    "  -ref: LIB is a reference library (refqvd.lib) of the project\n"
    "  rules: origin, tristate, symbol-name, properties, pins (default: all five)";

struct RulexArguments {
  std::string project;
  std::string library;
  std::string cell;
  std::string product = "kestra";
  std::uint16_t rules = kAllRulexRules;
  bool reference = false;
};

// The arguments, or the reason the words cannot be used.
std::optional<RulexArguments> ParseRulexArguments(const std::vector<std::string>& words,
                                                  std::string& error) {
  RulexArguments args;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "-ref") {
      args.reference = true;
      continue;
    }
    if (i + 1 >= words.size()) {
      error = word.front() == '-' ? word + " needs a value" : word + ": unexpected";
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
        error = "unknown rule \"" + unknown + "\"";
        return std::nullopt;
      }
      args.rules = *rules;
    } else {
      error = "unknown option " + word;
      return std::nullopt;
    }
  }
  if (args.project.empty() || args.library.empty()) {
    error = "-proj and -lib are required";
    return std::nullopt;
  }
  return args;
}

bool Lists(const std::shared_ptr<LibraryTree>& tree, const std::string& library) {
  const LibraryEntry* entry = tree->FindLibrary(library);
  return entry != nullptr && entry->directoryExists;
}

// "" when the library is where -ref says it is; else what to tell the user: a usage error
// when it is in the other list, or that the project has no such library.
std::string LibraryProblem(const CKestraCmdContext& command, const RulexArguments& args,
                           bool& usage) {
  C5XBrowserData data(command.GetProjectPath());
  const bool inProject = Lists(data.GetBuildTree(), args.library);
  const bool inReference = Lists(data.GetRefTree(), args.library);
  usage = true;
  if (args.reference && !inReference && inProject)
    return args.library + " is a project library (qvd.lib): leave out -ref";
  if (!args.reference && !inProject && inReference)
    return args.library + " is a reference library (refqvd.lib): add -ref";
  usage = false;
  if (args.reference ? inReference : inProject) return "";
  return "no library " + args.library + " in " + command.GetProjectPath() +
         (args.reference ? "refqvd.lib" : "qvd.lib");
}

// Runs the checker attached to a hidden window; progress goes to standard error.
class ConsoleRulexRunner final : public RulexToolRunner {
 public:
  ConsoleRulexRunner(CToolLauncher& launcher, std::string product)
      : launcher_(launcher), product_(std::move(product)) {}

  bool Run(const RulexPlan& plan) override {
    StreamSink sink(std::cerr);
    ConsoleToolRun(launcher_, sink).Run([&](CToolLauncher& launcher, HWND owner) {
      launcher.launchRulex(plan.options, product_, owner);
    });
    return true;  // no Cancel without a dialog: the run ends when the tool ends
  }
  int EndSignal() const override { return launcher_.GetLastEndSignal(); }

 private:
  CToolLauncher& launcher_;
  std::string product_;
};

VerifyResult RulexResult(const RulexArguments& args) {
  return FlowResult("rulex", args.library, args.cell);
}

VerifyResult NotRun(const RulexArguments& args, std::string cause) {
  return NotRunResult(RulexResult(args), std::move(cause));
}

FlowRun RunRulex(const std::vector<std::string>& words) {
  FlowRun run;
  const auto args = ParseRulexArguments(words, run.usageError);
  if (!args) return run;
  std::error_code error;
  const std::string project = std::filesystem::absolute(args->project, error).string();
  if (error || !std::filesystem::is_regular_file(project, error)) {
    run.results.push_back(NotRun(*args, "no project file " + args->project));
    return run;
  }
  CKestraCmdContext command;
  command.SetProduct(args->product);
  command.SetProject(project);
  bool usage = false;
  if (std::string problem = LibraryProblem(command, *args, usage); !problem.empty()) {
    if (usage) {
      run.usageError = problem;
    } else {
      run.results.push_back(NotRun(*args, problem));
    }
    return run;
  }
  const RulexRequest request =
      RulexRequestFor(command, MappedOrSelected(args->library), args->cell, {args->library},
                      args->reference, MakeRuleList(args->rules));
  ConsoleRulexRunner runner(*command.GetLauncher(), args->product);
  std::cerr << RulexStatusText(request.library, request.cell) << "\n";
  const RulexOutcome outcome = RunRulexFlow(request, runner);

  VerifyResult result = RulexResult(*args);
  result.log = outcome.plan.logFile;
  static const char* const names[] = {"info", "oversights", "warnings", "errors", "fatal", "total"};
  const bool verdict = outcome.stage == RulexStage::Verdict;
  for (int i = 0; i < RulexCounts::kCount; ++i) {
    result.counts.emplace_back(
        names[i], verdict ? std::optional<long>(outcome.log.counts.value[i]) : std::nullopt);
  }
  if (verdict) {
    result.verdict = outcome.log.verdict;
    result.message = outcome.message;
  } else {
    std::string cause = RulexFailureText(outcome, kRulexTempProjectFailed);
    if (outcome.stage == RulexStage::LogProblem) cause += " (" + outcome.log.text + ")";
    result.message = result.cause = cause;
  }
  run.results.push_back(std::move(result));
  return run;
}

// Every part gets the five rules.
PartWords RulexPartWords(const PartRequest& part) {
  return RunWith({"-proj", part.project, "-lib", part.library, "-cell", part.cell});
}

}  // namespace

VerifyFlow RulexVerifyFlow() {
  return {"rulex", "the rules checker on a library or one of its cells", kUsage, RunRulex,
          RulexPartWords};
}
