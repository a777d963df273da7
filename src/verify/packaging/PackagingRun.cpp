#include "verify/packaging/PackagingRun.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "base/ArgumentValue.h"
#include "base/FlowNames.h"
#include "base/OwnFolder.h"
#include "base/SignalText.h"
#include "dialogs/PartVerdict.h"
#include "projectfile/CSpiProject.h"
#include "verify/VerifyAllLock.h"
#include "verify/packaging/PackagingCommand.h"
#include "verify/packaging/PackagingPtf.h"
#include "verify/packaging/PackagingReports.h"
#include "verify/packaging/PackagingSearchPath.h"
#include "verify/packaging/PackagingTexts.h"

namespace fs = std::filesystem;

std::string PackagingProjectDirectory(const std::string& projectDir) {
  std::error_code error;
  std::string directory =
      fs::absolute(projectDir.empty() ? "./" : projectDir, error).lexically_normal().string();
  if (directory.empty()) directory = projectDir.empty() ? "./" : projectDir;
  if (directory.back() != '/') directory += '/';
  return directory;
}

std::vector<std::string> PreparePackagerVerify(PackagerSetup& setup) {
  std::vector<std::string> notes;
  // Only this flow's files go: temp also holds other flows' files and the history, logs and
  // run lock of `kestra verify all`.
  std::error_code error;
  if (MakeOwnFolder(setup.projectDir + "temp"))
    fs::remove(setup.projectDir + "temp/ptf.txt", error);
  setup.searchText.clear();
  setup.ptfFile.clear();
  // One Open of the project hierarchy serves both the footprint folders and the ptf
  // directives (each Open reads every level and rewrites tak.log with the same entries).
  CSpiProject project;
  const bool opened = (setup.options & (kUptoBoard | kUseProjectPtfFiles)) != 0 &&
                      project.Open(setup.projectFile) == 0;
  if (setup.options & kUptoBoard) {
    std::string problem;
    setup.searchText =
        LayoutSearchText(opened ? ProjectFootprintPath(project) : std::vector<std::string>{},
                         LayoutSetupLibrary(setup.installRoot), problem);
    if (!problem.empty()) notes.push_back(problem);
  }
  if (setup.options & kUseProjectPtfFiles) {
    std::vector<std::string> leftOut;
    setup.ptfFile = WritePtfFile(
        opened ? std::optional(ComposePtfContent(project, setup.projectDir)) : std::nullopt,
        setup.projectDir, leftOut);
    if (std::string text = PtfLeftOutText(leftOut); !text.empty()) notes.push_back(text);
  }
  return notes;
}

std::string PackagerPartFileName(const PackagerSetup& setup, const std::string& cell) {
  return PartFileName(setup.libraryPath, cell);
}

PackagerRun ComposePackagerRun(const PackagerSetup& setup, PackagingRunMode mode,
                               const std::vector<std::string>& cells, const std::string& scratch) {
  PackagerRun run;
  run.mode = mode;
  run.scratch = scratch;
  run.tool = PackagerTool(setup.installRoot);
  PackagerCommand command;
  command.libraryPath = setup.libraryPath;
  command.mode = mode;
  command.options = setup.options;
  command.searchText = setup.searchText;
  command.ptfFile = setup.ptfFile;
  if (mode == PackagingRunMode::OnePart && !cells.empty()) {
    run.cell = cells.front();
    command.cellText = PackagerPartFileName(setup, run.cell);
  } else if (mode == PackagingRunMode::SeveralParts) {
    command.cellText = SeveralPartsCellText(setup.libraryPath, cells);
  }
  run.statusLine = PackagingStatusLine(mode, setup.library, run.cell);
  run.arguments = PackagerArguments(command);
  return run;
}

std::string ScratchFailureText(const std::string& scratch, const std::string& why) {
  return "Unable to chdir to : " + scratch + ", can't run checks" +
         (why.empty() ? "" : " (" + why + ")");
}

void ForgetPartReports(const PackagerSetup& setup, const std::vector<std::string>& cells) {
  std::error_code error;
  for (const std::string& cell : cells) {
    const std::string part = setup.projectDir + "temp/" + PackagerPartFileName(setup, cell);
    fs::remove(part + ".stat", error);
    fs::remove(part + ".log", error);
  }
}

std::string PackagingNameProblem(const std::string& libraryPath,
                                 const std::vector<std::string>& cells) {
  const auto refused = [](const char* what, const std::string& name, const std::string& why) {
    return std::string("Unable to run checks: the ") + what + " \"" + name +
           "\" cannot be passed to the packaging tools: " + why;
  };
  const std::string library = LibraryNameOfPath(libraryPath);
  if (std::string why = ToolNameProblem(library); !why.empty())
    return refused("library folder", library, why);
  // The packager is given each part's file name, the consistency check its name.
  for (const std::string& cell : cells) {
    for (const std::string& part : {cell, PartFileName(libraryPath, cell)}) {
      if (std::string why = ToolNameProblem(part); !why.empty()) return refused("part", part, why);
    }
  }
  return "";
}

std::string VerifyAllRunningText(const std::string& projectFile) {
  const std::string lock = VerifyAllLockFile(projectFile);
  // A job of that run (its child) works in a scratch copy, which may share the temp folder.
  if (!RunLockHeld(lock) || RunLockHolder(lock) == ::getppid()) return "";
  return "A kestra verify all is running on this project (it holds " + lock +
         "); verify again when it has ended";
}

namespace {

// Several parts, as one result names them.
std::string CellText(const std::vector<std::string>& cells) {
  std::string text;
  for (const std::string& cell : cells) text += (text.empty() ? "" : " ") + cell;
  return text;
}

VerifyResult PackagingResult(const PackagingRequest& request, const std::string& cell) {
  return FlowResult(kPackagingFlow, request.library, cell);
}

// The result of a tool run that ended: a signal makes its verdict unknown, whatever its reports
// say; message is the verdict's text otherwise.
VerifyResult EndedResult(VerifyResult result, const std::string& tool, int signal, Verdict verdict,
                         std::string message) {
  result.verdict = signal != 0 ? Verdict::Unknown : verdict;
  result.message = signal != 0 ? PackagingEndedBySignalText(tool, signal) : std::move(message);
  if (signal != 0) {
    result.cause = tool + " was ended by " + SignalText(signal);
  } else if (result.verdict == Verdict::Unknown) {
    result.cause = result.message;
  }
  return result;
}

VerifyResult PackagerResult(const PackagingRequest& request, const std::string& cell,
                            Verdict verdict, const std::string& status, const std::string& log,
                            int signal) {
  VerifyResult result = EndedResult(PackagingResult(request, cell), "cellpack", signal, verdict,
                                    PackagerVerdictMessage(verdict));
  result.log = log;
  ReadPackagerFindings(status, log, cell, verdict, result.findings, result.findingsTruncated);
  return result;
}

std::vector<VerifyResult> Refuse(const PackagingRequest& request, PackagingPlan& plan,
                                 PackagingStage stage, std::string problem) {
  plan.stage = stage;
  plan.problem = problem;
  return {NotRunResult(PackagingResult(request, ""), std::move(problem))};
}

std::vector<VerifyResult> RunConsistency(const PackagingRequest& request, ToolRunner& runner,
                                         PackagingPlan& plan) {
  const std::string cell = request.cells.empty() ? "" : request.cells.front();
  ToolStart start;
  start.operation = ToolOperation::LibKit;
  start.program = kConsistencyTool;
  start.statusText = PackagingStatusLine(
      cell.empty() ? PackagingRunMode::Library : PackagingRunMode::OnePart, request.library, cell);
  start.arguments = plan.lastArguments = ConsistencyArguments(
      request.projectFile, request.projectPath + "qvd.lib", request.library, cell, request.options);
  // A summary of an earlier run must not stand for this one if the tool writes none.
  std::error_code error;
  fs::remove(ConsistencyFile(request.projectFile, ".sum"), error);
  if (!runner.Run(start)) {
    plan.stage = PackagingStage::Cancelled;
    return {};
  }
  plan.stage = PackagingStage::Verdict;
  const std::string summary = ConsistencySummary(request.projectFile);
  VerifyResult result = EndedResult(PackagingResult(request, cell), "tes2tes", runner.EndSignal(),
                                    ConsistencyVerdict(summary), summary);
  result.log = ConsistencyFile(request.projectFile, ".log");
  result.findings = ConsistencyFindings(request.projectFile, result.message, result.verdict);
  return {result};
}

// The packager's runs: once over the library, one part or several parts, or (with the
// pass/fail report) once per part, each in a scratch directory of its slot, its reports
// copied to temp/<part>.stat and .log and read from there, as the per-part results dialog
// reads them.
class PackagerRuns {
 public:
  PackagerRuns(const PackagingRequest& request, ToolRunner& runner, PackagingPlan& plan)
      : request_(request), runner_(runner), plan_(plan) {}

  std::vector<VerifyResult> Run(PackagerSetup& setup) {
    setup_ = &setup;
    const bool report = request_.options & kPassFailReport;
    const std::vector<std::string>& cells = plan_.cells;
    const std::size_t count = report ? cells.size() : 1;
    const std::size_t parallel = report ? std::clamp<std::size_t>(request_.parallel, 1, count) : 1;
    parallel_ = parallel;
    if (report) ForgetPartReports(setup, cells);
    failures_.assign(count, "");
    signals_.assign(count, 0);
    runs_.assign(count, PackagerRun());
    const bool completed = runner_.RunEach(
        count, parallel,
        [&](std::size_t index, std::size_t slot) { return Compose(index, slot, report); },
        [&](std::size_t index, std::size_t, const ToolEnd& end) { Ended(index, end, report); });
    if (!completed) {
      plan_.stage = PackagingStage::Cancelled;
      return {};
    }
    plan_.stage = started_ ? PackagingStage::Verdict : PackagingStage::NotStarted;
    return report ? PartResults() : std::vector<VerifyResult>{OneResult()};
  }

 private:
  std::optional<ToolStart> Compose(std::size_t index, std::size_t slot, bool report) {
    const std::string scratch = setup_->projectDir + kPackagerScratch +
                                (parallel_ > 1 ? "_" + std::to_string(slot + 1) : "");
    const PackagingRunMode mode = report                       ? PackagingRunMode::OnePart
                                  : request_.cells.empty()     ? PackagingRunMode::Library
                                  : request_.cells.size() == 1 ? PackagingRunMode::OnePart
                                                               : PackagingRunMode::SeveralParts;
    runs_[index] = ComposePackagerRun(
        *setup_, mode, report ? std::vector{plan_.cells[index]} : request_.cells, scratch);
    // Made anew as a folder of its own: a link planted in its place is not followed.
    if (std::string why; !RemakeOwnFolder(scratch, {}, &why)) {
      Fail(index, why);
      return std::nullopt;
    }
    if (!report) plan_.scratch = scratch;
    ToolStart start;
    start.operation = ToolOperation::LibKit;
    start.program = runs_[index].tool;
    start.arguments = plan_.lastArguments = runs_[index].arguments;
    start.statusText = runs_[index].statusLine;
    start.directory = scratch;
    return start;
  }

  void Ended(std::size_t index, const ToolEnd& end, bool report) {
    if (!end.startFailure.empty()) {
      Fail(index, end.startFailure);
      return;
    }
    started_ = true;
    signals_[index] = end.signal;
    if (!report) return;
    const std::string& cell = plan_.cells[index];
    // A part whose packager was killed keeps no reports: whatever it wrote is unsure.
    if (end.signal != 0) {
      plan_.unknownParts[cell] = "ended by " + SignalText(end.signal);
    } else {
      CopyPartReports(runs_[index].scratch, setup_->projectDir,
                      PackagerPartFileName(*setup_, cell));
    }
  }

  // A run that cannot start: the user hears once of each scratch directory that failed.
  void Fail(std::size_t index, const std::string& why) {
    failures_[index] = ScratchFailureText(runs_[index].scratch, why);
    if (told_.insert(failures_[index]).second) runner_.Tell(failures_[index], true);
  }

  VerifyResult OneResult() const {
    const std::string cells = CellText(request_.cells);
    const PackagerRun& run = runs_.front();
    if (!failures_.front().empty())
      return NotRunResult(PackagingResult(request_, cells), failures_.front());
    return PackagerResult(request_, cells, PackagerVerdict(run.scratch),
                          run.scratch + "/" + kStatusReport, run.scratch + "/" + kLogReport,
                          signals_.front());
  }

  std::vector<VerifyResult> PartResults() const {
    std::vector<VerifyResult> results;
    for (std::size_t i = 0; i < plan_.cells.size(); ++i) {
      const std::string& cell = plan_.cells[i];
      if (!failures_[i].empty()) {
        results.push_back(NotRunResult(PackagingResult(request_, cell), failures_[i]));
        continue;
      }
      const std::string part = setup_->projectDir + "temp/" + PackagerPartFileName(*setup_, cell);
      const PartVerdict read = ReadPartVerdictFiles(part + ".stat", part + ".log");
      const Verdict verdict =
          read.code == 0 ? (read.withWarnings ? Verdict::PassedWithWarnings : Verdict::Passed)
                         : (read.code == 2 ? Verdict::Unknown : Verdict::Failed);
      results.push_back(
          PackagerResult(request_, cell, verdict, part + ".stat", part + ".log", signals_[i]));
    }
    return results;
  }

  const PackagingRequest& request_;
  ToolRunner& runner_;
  PackagingPlan& plan_;
  PackagerSetup* setup_ = nullptr;
  std::size_t parallel_ = 1;
  std::vector<PackagerRun> runs_;
  std::vector<std::string> failures_;
  std::vector<int> signals_;
  std::set<std::string> told_;
  bool started_ = false;
};

}  // namespace

std::vector<VerifyResult> RunPackaging(const PackagingRequest& request, ToolRunner& runner,
                                       PackagingPlan& plan) {
  plan = PackagingPlan();
  const bool report = !request.consistency && (request.options & kPassFailReport);
  plan.cells = request.consistency || !request.cells.empty() ? request.cells : request.libraryCells;
  if (request.consistency && request.cells.size() > 1)
    return Refuse(request, plan, PackagingStage::Refused, kPackagingOneCell);
  if (report && plan.cells.empty())
    return Refuse(request, plan, PackagingStage::Refused, PackagingNoPartsText(request.library));
  // The project's folders are not written while a `kestra verify all` works on them. A run
  // names its selected parts to the tool, a pass/fail report each part of the library.
  std::string problem = VerifyAllRunningText(request.projectFile);
  if (problem.empty())
    problem = PackagingNameProblem(request.libraryPath, report ? plan.cells : request.cells);
  if (!problem.empty()) return Refuse(request, plan, PackagingStage::Blocked, problem);
  if (request.consistency) return RunConsistency(request, runner, plan);

  PackagerSetup setup;
  setup.projectFile = request.projectFile;
  setup.projectDir = PackagingProjectDirectory(request.projectPath);
  setup.library = request.library;
  setup.libraryPath = request.libraryPath;
  setup.installRoot = request.installRoot;
  setup.options = request.options;
  for (const std::string& note : PreparePackagerVerify(setup)) runner.Tell(note, false);
  return PackagerRuns(request, runner, plan).Run(setup);
}
