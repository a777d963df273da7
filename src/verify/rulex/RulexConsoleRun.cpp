#include "verify/rulex/RulexConsoleRun.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "base/FlowNames.h"
#include "libformat/LibraryTree.h"
#include "outside/CFilePath.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/ProcessToolRunner.h"
#include "verify/ProjectLibrary.h"
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

VerifyResult RulexResult(const RulexArguments& args) {
  return FlowResult(kRulexFlow, args.library, args.cell);
}

VerifyResult NotRun(const RulexArguments& args, std::string cause) {
  return NotRunResult(RulexResult(args), std::move(cause));
}

FlowRun RunRulexVerb(const std::vector<std::string>& words) {
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
  // The verb loads no widget or display library: the checker runs through ToolProcess.
  const RulexRequest request =
      RulexRequestFor(project, projectDir, projectName, args->library, args->cell, {args->library},
                      args->reference, MakeRuleList(args->rules));
  ProcessToolRunner runner(args->product);
  RulexPlan plan;
  run.results = RunRulex(request, runner, plan);
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
          kUsage,         RunRulexVerb,
          RulexPartWords, kRulexValued};
}
