#include "verify/packaging/PackagingConsoleRun.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "base/SignalText.h"
#include "base/qvdCommon.h"
#include "context/CKestraCmdContext.h"
#include "dialogs/PartVerdict.h"
#include "framework/WindowMessage.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "verify/ConsoleToolRun.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/packaging/PackagingCommand.h"
#include "verify/packaging/PackagingReports.h"
#include "verify/packaging/PackagingRun.h"

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
    error = "Only one cell can be selected for verification";
    return std::nullopt;
  }
  if (args.consistency && (args.options & kPassFailReport)) {
    error = "-report needs the packager, not the consistency check";
    return std::nullopt;
  }
  return args;
}

VerifyResult PackagingResult(const std::string& library, const std::string& cell) {
  return FlowResult("packaging", library, cell);
}

VerifyResult NotRun(const PackagingArguments& args, std::string cause) {
  return NotRunResult(PackagingResult(args.library, ""), std::move(cause));
}

// The run of the consistency check: one result from the summary next to the project file.
VerifyResult RunConsistency(CKestraCmdContext& command, const PackagingArguments& args) {
  const std::string cell = args.cells.empty() ? "" : args.cells.front();
  std::cerr << PackagingStatusLine(
                   cell.empty() ? PackagingRunMode::Library : PackagingRunMode::OnePart,
                   args.library, cell)
            << "\n";
  const std::string project = command.GetProject();
  // A summary of an earlier run must not stand for this one.
  std::error_code error;
  std::filesystem::remove(ConsistencyFile(project, ".sum"), error);
  const std::string arguments = ConsistencyArguments(project, command.GetProjectPath() + "qvd.lib",
                                                     args.library, cell, args.options);
  StreamSink sink(std::cerr);
  ConsoleToolRun(*command.GetLauncher(), sink).Run([&](CToolLauncher& launcher, HWND owner) {
    launcher.launchLibKit(kConsistencyTool, arguments, args.product, owner);
  });
  VerifyResult result = PackagingResult(args.library, cell);
  const int signal = command.GetLauncher()->GetLastEndSignal();
  result.message =
      signal != 0 ? PackagingEndedBySignalText("tes2tes", signal) : ConsistencySummary(project);
  result.verdict = signal != 0 ? Verdict::Unknown : ConsistencyVerdict(result.message);
  if (signal != 0) {
    result.cause = "tes2tes was ended by " + SignalText(signal);
  } else if (result.verdict == Verdict::Unknown) {
    result.cause = result.message;
  }
  result.log = ConsistencyFile(project, ".log");
  result.findings = ConsistencyFindings(project, result.message, result.verdict);
  return result;
}

// Starts one packager run attached to owner, in its scratch directory; "" when it started,
// else why not (also on standard error). A run that cannot start ends at once: its owner gets
// the end message the launcher would have sent, so that nothing waits for it.
std::string StartPackager(CToolLauncher& launcher, const PackagerRun& run,
                          const std::string& product, HWND owner) {
  std::string saved;
  std::string why;
  if (!EnterPackagerScratch(run, saved, &why)) {
    const std::string failure = ScratchFailureText(run.scratch, why);
    std::cerr << failure << "\n";
    PostMessage(owner, WM_TOOL_ENDED, 1, 0);
    return failure;
  }
  std::cerr << run.statusLine << "\n";
  launcher.launchLibKit(run.tool, run.arguments, product, owner);
  // The tool has its working directory: this process goes back at once, so that several
  // parts can start from here.
  RestoreDirectory(saved);
  return "";
}

// The result of a packager run that started; signal: the signal that ended it, or 0.
VerifyResult PackagerResult(const PackagingArguments& args, const std::string& cell,
                            Verdict verdict, const std::string& status, const std::string& log,
                            int signal) {
  VerifyResult result = PackagingResult(args.library, cell);
  result.verdict = signal != 0 ? Verdict::Unknown : verdict;
  result.message = signal != 0 ? PackagingEndedBySignalText("cellpack", signal)
                               : PackagerVerdictMessage(verdict);
  if (signal != 0) {
    result.cause = "cellpack was ended by " + SignalText(signal);
  } else if (verdict == Verdict::Unknown) {
    result.cause = result.message;
  }
  result.log = log;
  ReadPackagerFindings(status, log, cell, verdict, result.findings, result.findingsTruncated);
  return result;
}

// One run over the library, one part or several parts.
VerifyResult RunPackagerOnce(CKestraCmdContext& command, const PackagingArguments& args,
                             const PackagerSetup& setup) {
  const PackagingRunMode mode = args.cells.empty()       ? PackagingRunMode::Library
                                : args.cells.size() == 1 ? PackagingRunMode::OnePart
                                                         : PackagingRunMode::SeveralParts;
  const PackagerRun run =
      ComposePackagerRun(setup, mode, args.cells, setup.projectDir + kPackagerScratch);
  std::string failure;
  StreamSink sink(std::cerr);
  ConsoleToolRun(*command.GetLauncher(), sink).Run([&](CToolLauncher& launcher, HWND owner) {
    failure = StartPackager(launcher, run, args.product, owner);
  });
  std::string cellText;
  for (const std::string& cell : args.cells) cellText += (cellText.empty() ? "" : " ") + cell;
  if (!failure.empty()) {
    VerifyResult result = PackagingResult(args.library, cellText);
    result.message = result.cause = failure;
    return result;
  }
  return PackagerResult(args, cellText, PackagerVerdict(run.scratch),
                        run.scratch + "/" + kStatusReport, run.scratch + "/" + kLogReport,
                        command.GetLauncher()->GetLastEndSignal());
}

// Each part in a run of its own, up to args.parallel at once, each in a scratch directory of
// its own; the reports are copied to temp/<part>.stat and .log and read from there, as the
// per-part results dialog reads them.
std::vector<VerifyResult> RunPackagerPerPart(CKestraCmdContext& command,
                                             const PackagingArguments& args,
                                             const PackagerSetup& setup,
                                             const std::vector<std::string>& cells) {
  const std::size_t parallel = std::min(args.parallel, cells.size());
  std::vector<PackagerRun> runs(cells.size());
  std::vector<std::string> failures(cells.size());
  std::vector<int> endSignals(cells.size(), 0);
  std::vector<HWND> owners(parallel, nullptr);
  ForgetPartReports(setup, cells);
  const auto scratchOf = [&](std::size_t slot) {
    return setup.projectDir + kPackagerScratch +
           (parallel > 1 ? "_" + std::to_string(slot + 1) : "");
  };
  StreamSink sink(std::cerr);
  ConsoleToolRun(*command.GetLauncher(), sink)
      .RunEach(
          cells.size(), parallel,
          [&](std::size_t index, std::size_t slot, CToolLauncher& launcher, HWND owner) {
            runs[index] = ComposePackagerRun(setup, PackagingRunMode::OnePart, {cells[index]},
                                             scratchOf(slot));
            owners[slot] = owner;
            failures[index] = StartPackager(launcher, runs[index], args.product, owner);
          },
          [&](std::size_t index, std::size_t slot) {
            endSignals[index] = command.GetLauncher()->GetEndSignal(owners[slot]);
            // A killed run keeps no reports: whatever it wrote is unsure.
            if (failures[index].empty() && endSignals[index] == 0)
              CopyPartReports(runs[index].scratch, setup.projectDir,
                              PackagerPartFileName(setup, cells[index]));
          });
  std::vector<VerifyResult> results;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::string part = PackagerPartFileName(setup, cells[i]);
    const std::string stat = setup.projectDir + "temp/" + part + ".stat";
    const std::string log = setup.projectDir + "temp/" + part + ".log";
    if (!failures[i].empty()) {
      VerifyResult result = PackagingResult(args.library, cells[i]);
      result.message = result.cause = failures[i];
      results.push_back(std::move(result));
      continue;
    }
    const PartVerdict read = ReadPartVerdictFiles(stat, log);
    const Verdict verdict =
        read.code == 0 ? (read.withWarnings ? Verdict::PassedWithWarnings : Verdict::Passed)
                       : (read.code == 2 ? Verdict::Unknown : Verdict::Failed);
    results.push_back(PackagerResult(args, cells[i], verdict, stat, log, endSignals[i]));
  }
  return results;
}

FlowRun RunPackaging(const std::vector<std::string>& words) {
  FlowRun run;
  const auto args = ParsePackagingArguments(words, run.usageError);
  if (!args) return run;
  std::string problem;
  const std::string project = ExistingProjectFile(args->project, problem);
  if (project.empty()) {
    run.results.push_back(NotRun(*args, problem));
    return run;
  }
  CKestraCmdContext command;
  command.SetProduct(args->product);
  command.SetProject(project);
  C5XBrowserData data(command.GetProjectPath());
  const std::shared_ptr<LibraryTree> tree = data.GetBuildTree();
  const LibraryEntry* library = tree->FindLibrary(args->library);
  if (library == nullptr || !library->directoryExists) {
    run.results.push_back(NotRun(
        *args, "no library " + args->library + " in " + command.GetProjectPath() + "qvd.lib"));
    return run;
  }
  std::vector<std::string> allCells;
  for (const CellEntry& cell : tree->Cells(args->library))
    if (cell.usable) allCells.push_back(cell.name);
  for (const std::string& cell : args->cells) {
    if (std::find(allCells.begin(), allCells.end(), cell) == allCells.end()) {
      run.results.push_back(NotRun(*args, "library " + args->library + " has no part " + cell));
      return run;
    }
  }
  // The project's folders are not written while a `kestra verify all` works on them.
  problem = VerifyAllRunningText(project);
  if (problem.empty()) problem = PackagingNameProblem(library->directory, args->cells);
  if (!problem.empty()) {
    run.results.push_back(NotRun(*args, problem));
    return run;
  }
  if (args->consistency) {
    run.results.push_back(RunConsistency(command, *args));
    return run;
  }

  PackagerSetup setup;
  setup.projectFile = project;
  setup.projectDir = PackagingProjectDirectory(command.GetProjectPath());
  setup.library = args->library;
  setup.libraryPath = library->directory;
  setup.installRoot = qvdGetInstPath(nullptr);
  setup.options = args->options;
  const std::vector<std::string> cells = args->cells.empty() ? allCells : args->cells;
  if ((args->options & kPassFailReport) && cells.empty()) {
    run.results.push_back(
        NotRun(*args, "The library " + args->library + " has no parts to verify"));
    return run;
  }
  if (args->cells.empty() && (args->options & kPassFailReport)) {
    // Each part of the library is named to the packager.
    if (problem = PackagingNameProblem(library->directory, cells); !problem.empty()) {
      run.results.push_back(NotRun(*args, problem));
      return run;
    }
  }
  for (const std::string& note : PreparePackagerVerify(setup)) std::cerr << note << "\n";
  if (args->options & kPassFailReport) {
    run.results = RunPackagerPerPart(command, *args, setup, cells);
  } else {
    run.results.push_back(RunPackagerOnce(command, *args, setup));
  }
  return run;
}

// Every part is instantiated and packaged on its own, up to the board: its pin numbers are
// checked against its footprint's pads.
PartWords PackagingPartWords(const PartRequest& part) {
  if (part.reference) return NotApplicable(NoReferenceRun("packaging"));
  return RunWith({"-proj", part.project, "-lib", part.library, "-cell", part.cell, "-netrev"});
}

}  // namespace

VerifyFlow PackagingVerifyFlow() {
  return {"packaging",
          "instantiation and packaging checks of a library or its parts",
          kUsage,
          RunPackaging,
          PackagingPartWords,
          kPackagingValued};
}
