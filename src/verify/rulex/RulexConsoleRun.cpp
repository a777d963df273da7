#include "verify/rulex/RulexConsoleRun.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "libformat/LibraryTree.h"
#include "outside/CFilePath.h"
#include "verify/FlowNames.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/ProjectLibrary.h"
#include "verify/ToolProcess.h"
#include "verify/rulex/RulexPaths.h"
#include "verify/rulex/RulexRequestFor.h"
#include "verify/rulex/RulexRules.h"

namespace {

// The options that take a value (also what `kestra verify` must not read as its own).
constexpr std::string_view kRulexValued[] = {"-proj", "-lib", "-cell", "-product", "-rules"};

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
  const auto given = FlowWords::Parse(words, {"-ref"}, kRulexValued, {"-proj", "-lib"}, error);
  if (!given) return std::nullopt;
  RulexArguments args;
  args.project = given->Value("-proj");
  args.library = given->Value("-lib");
  args.cell = given->Value("-cell");
  if (given->Has("-product")) args.product = given->Value("-product");
  args.reference = given->Has("-ref");
  if (given->Has("-rules")) {
    std::string unknown;
    const auto rules = ParseRuleNames(given->Value("-rules"), unknown);
    if (!rules) {
      error = "unknown rule \"" + unknown + "\"";
      return std::nullopt;
    }
    args.rules = *rules;
  }
  return args;
}

// "" when the library is where -ref says it is and has the part asked for; else what to tell
// the user: a usage error when it is in the other list, or that the project has no such
// library or the library no such part.
std::string LibraryProblem(const std::string& projectDir, const RulexArguments& args, bool& usage) {
  std::string problem;
  const ProjectLibrary found =
      FindProjectLibrary(projectDir, args.library, args.reference, problem, usage);
  if (found.list.empty() || args.cell.empty()) return problem;
  return MissingPartProblem(*found.tree, args.library, args.cell);
}

// Runs the checker without Qt (the verb loads no widget or display library); progress goes
// to standard error.
class ConsoleRulexRunner final : public RulexToolRunner {
 public:
  explicit ConsoleRulexRunner(std::string product) : product_(std::move(product)) {}

  bool Run(const RulexPlan& plan) override {
    std::cerr << plan.lockNote;
    process_.Run({"launchRulex", plan.options, product_},
                 [](const std::string& piece) { std::cerr << piece << std::flush; });
    return true;  // no Cancel without a dialog: the run ends when the tool ends
  }
  int EndSignal() const override { return process_.EndSignal(); }

 private:
  std::string product_;
  ToolProcess process_;
};

VerifyResult RulexResult(const RulexArguments& args) {
  return FlowResult(kRulexFlow, args.library, args.cell);
}

VerifyResult NotRun(const RulexArguments& args, std::string cause) {
  return NotRunResult(RulexResult(args), std::move(cause));
}

FlowRun RunRulex(const std::vector<std::string>& words) {
  FlowRun run;
  const auto args = ParseRulexArguments(words, run.usageError);
  if (!args) return run;
  std::string problem;
  const std::string project = ExistingProjectFile(args->project, problem);
  if (project.empty()) {
    run.results.push_back(NotRun(*args, problem));
    return run;
  }
  // The project's folder and name, as the command object derives them.
  std::string projectDir, projectName;
  CFilePath paths;
  paths.GetProjPathFromName(project, projectDir);
  paths.GetFileName(project, projectName, 0);
  bool usage = false;
  if (std::string problem = LibraryProblem(projectDir, *args, usage); !problem.empty()) {
    if (usage) {
      run.usageError = problem;
    } else {
      run.results.push_back(NotRun(*args, problem));
    }
    return run;
  }
  const RulexRequest request =
      RulexRequestFor(project, projectDir, projectName, MappedOrSelected(args->library), args->cell,
                      {args->library}, args->reference, MakeRuleList(args->rules));
  ConsoleRulexRunner runner(args->product);
  std::cerr << RulexStatusText(request.library, request.cell) << "\n";
  const RulexOutcome outcome = RunRulexFlow(request, runner);

  VerifyResult result = RulexResult(*args);
  result.log = outcome.plan.logFile;
  result.findings = outcome.findings;
  result.findingsTruncated = outcome.findingsTruncated;
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

// Every part gets the five rules, a reference library's parts too.
PartWords RulexPartWords(const PartRequest& part) {
  std::vector<std::string> words = {"-proj",      part.project, "-lib",
                                    part.library, "-cell",      part.cell};
  if (part.reference) words.push_back("-ref");
  return RunWith(std::move(words));
}

}  // namespace

VerifyFlow RulexVerifyFlow() {
  return {kRulexFlow,     "the rules checker on a library or one of its cells",
          kUsage,         RunRulex,
          RulexPartWords, kRulexValued};
}
