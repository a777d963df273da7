#include "verify/packaging/PackagingConsoleRun.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "base/FlowNames.h"
#include "base/qvdCommon.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/ProcessToolRunner.h"
#include "verify/ProjectLibrary.h"
#include "verify/packaging/PackagingRun.h"
#include "verify/packaging/PackagingSearchPath.h"
#include "verify/packaging/PackagingTexts.h"

namespace {

// The options that take a value (also what `kestra verify` must not read as its own).
constexpr std::string_view kPackagingValued[] = {"-proj", "-lib", "-cell", "-product", "-j"};

constexpr const char* kUsage =
    "-proj FILE -lib LIB [-cell CELL ...] [-ptf] [-netrev] [-report] [-consistency]\n"
    "  [-j N] [-product NAME]\n"
    "  -ptf: use the project's ptf files; -netrev: up to the PCB editor board\n"
    "  -report: each part in a run of its own, a verdict per part (-j N: N parts at once)\n"
    "  -consistency: the consistency check (tes2tes) instead of the packager; also chosen by\n"
    "    Instantiation_Packaging_Validation_Type=1";

struct PackagingArguments {
  std::string project;
  std::string library;
  std::vector<std::string> cells;
  std::string product = "kestra";
  std::uint16_t options = 0;
  bool consistency = false;
  std::size_t parallel = 1;
};

std::optional<PackagingArguments> ParsePackagingArguments(const std::vector<std::string>& words,
                                                          std::string& error) {
  const auto given = FlowWords::Parse(words, {"-ptf", "-netrev", "-report", "-consistency"},
                                      kPackagingValued, {"-proj", "-lib"}, error);
  if (!given) return std::nullopt;
  PackagingArguments args;
  args.project = given->Value("-proj");
  args.library = given->Value("-lib");
  args.cells = given->Values("-cell");
  if (given->Has("-product")) args.product = given->Value("-product");
  if (given->Has("-ptf")) args.options |= kUseProjectPtfFiles;
  if (given->Has("-netrev")) args.options |= kUptoBoard;
  if (given->Has("-report")) args.options |= kPassFailReport;
  args.consistency = given->Has("-consistency");
  if (given->Has("-j")) {
    const auto parts = ParseWholeNumber("-j", given->Value("-j"), 1, 64, "parts", error);
    if (!parts) return std::nullopt;
    args.parallel = static_cast<std::size_t>(*parts);
  }
  if (ValidationTypeFromEnvironment() == ValidationType::ConsistencyCheck) args.consistency = true;
  if (args.consistency && args.cells.size() > 1) {
    error = kPackagingOneCell;
    return std::nullopt;
  }
  if (args.consistency && (args.options & kPassFailReport)) {
    error = "-report needs the packager, not the consistency check";
    return std::nullopt;
  }
  return args;
}

VerifyResult NotRun(const PackagingArguments& args, std::string cause) {
  return NotRunResult(FlowResult(kPackagingFlow, args.library, ""), std::move(cause));
}

FlowRun RunPackagingVerb(const std::vector<std::string>& words) {
  FlowRun run;
  const auto args = ParsePackagingArguments(words, run.usageError);
  if (!args) return run;
  std::string problem;
  const std::string project = ExistingProjectFile(args->project, problem);
  if (project.empty()) {
    run.results.push_back(NotRun(*args, problem));
    return run;
  }
  const std::string projectDir = ProjectFolder(project);
  C5XBrowserData data(projectDir);
  const std::shared_ptr<LibraryTree> tree = data.GetBuildTree();
  const LibraryEntry* library = tree->FindLibrary(args->library);
  if (library == nullptr || !library->directoryExists) {
    run.results.push_back(
        NotRun(*args, "no library " + args->library + " in " + projectDir + "qvd.lib"));
    return run;
  }
  for (const std::string& cell : args->cells) {
    if (std::string problem = MissingPartProblem(*tree, args->library, cell); !problem.empty()) {
      run.results.push_back(NotRun(*args, problem));
      return run;
    }
  }
  // Every part of the library only for a run over all of them.
  std::vector<std::string> allCells;
  if (args->cells.empty())
    for (const CellEntry& cell : tree->Cells(args->library))
      if (cell.usable) allCells.push_back(cell.name);
  PackagingRequest request;
  request.projectFile = project;
  request.projectPath = projectDir;
  request.library = args->library;
  request.libraryPath = library->directory;
  request.cells = args->cells;
  request.libraryCells = std::move(allCells);
  request.options = args->options;
  request.consistency = args->consistency;
  request.parallel = args->parallel;
  request.installRoot = qvdGetInstPath(nullptr);
  // The verb loads no widget or display library: the packager runs through ToolProcess.
  ProcessToolRunner runner(args->product);
  PackagingPlan plan;
  run.results = RunPackaging(request, runner, plan);
  return run;
}

// The footprint folders the project names, absolute (a folder named from the project's
// folder is found there).
std::vector<std::string> FootprintFolders(const std::string& project) {
  std::vector<std::string> footprints;
  for (const std::string& folder : ProjectFootprintPath(project)) {
    const std::filesystem::path path(folder);
    footprints.push_back(
        path.is_absolute()
            ? folder
            : (std::filesystem::path(project).parent_path() / path).lexically_normal().string());
  }
  return footprints;
}

// Every part is instantiated and packaged on its own, up to the board: its pin numbers are
// checked against its footprint's pads.
PartWords PackagingPartWords(const PartRequest& part) {
  if (part.reference) return NotApplicable(NoReferenceRun(kPackagingFlow));
  // The footprint folders decide the verdict too: a changed footprint re-checks the parts.
  // Read from the project once a plan, not once a part (an Open of the hierarchy each).
  std::vector<std::string> footprints;
  if (part.planValues == nullptr) {
    footprints = FootprintFolders(part.project);
  } else {
    auto [at, added] = part.planValues->try_emplace("packaging footprint folders");
    if (added) at->second = FootprintFolders(part.project);
    footprints = at->second;
  }
  return RunWith({"-proj", part.project, "-lib", part.library, "-cell", part.cell, "-netrev"},
                 std::move(footprints));
}

}  // namespace

VerifyFlow PackagingVerifyFlow() {
  return {kPackagingFlow,
          "instantiation and packaging checks of a library or its parts",
          kUsage,
          RunPackagingVerb,
          PackagingPartWords,
          kPackagingValued};
}
