#include "verify/simulation/SimulationRun.h"

#include "base/FlowNames.h"
#include "base/SignalText.h"
#include "verify/WorkingDirectory.h"
#include "verify/simulation/CellsimPaths.h"
#include "verify/simulation/CellsimReports.h"

namespace {

// The problem before the start, or "" with plan.start composed.
std::string ComposeStart(const SimulationRequest& request, SimulationPlan& plan) {
  if (std::string problem = CheckCellsimRequest(request.settings, request.library);
      !problem.empty())
    return problem;
  if (std::string problem = CheckCellsimNames(request.library, request.cells); !problem.empty())
    return problem;
  const int mode = CellsimRunMode(request.cells.size());
  const std::string cell = mode == 1 ? request.cells.front() : "";
  plan.start.operation = ToolOperation::Cellsim;
  plan.start.statusText = CellsimStatusText(request.library.name, mode, cell);
  plan.start.program = CellsimToolPath(request.installRoot);
  return ComposeCellsimOptions(request.settings, request.library, mode, cell,
                               mode == 2 ? CellsimCellListText(request.cells) : "",
                               plan.start.arguments);
}

}  // namespace

std::vector<VerifyResult> RunSimulation(const SimulationRequest& request, ToolRunner& runner,
                                        SimulationPlan& plan) {
  std::string cells;
  for (const std::string& cell : request.cells) cells += (cells.empty() ? "" : " ") + cell;
  VerifyResult result = FlowResult(kSimulationFlow, request.library.name, cells);
  plan = SimulationPlan();
  plan.problem = ComposeStart(request, plan);
  if (!plan.problem.empty()) return {NotRunResult(std::move(result), plan.problem)};
  {
    // cellsim starts in the current directory, the scratch directory; the run comes back.
    const CurrentDirectoryGuard back;
    EnterDirectory(CellsimProjectDirectory(request.projectDir));
    plan.problem = EnterCellsimScratchDirectory(request.projectDir);
    if (!plan.problem.empty()) {
      plan.stage = SimulationStage::ScratchFailed;
      return {NotRunResult(std::move(result), plan.problem)};
    }
    if (!runner.Run(plan.start)) {
      plan.stage = SimulationStage::Cancelled;
      return {};
    }
  }
  plan.stage = SimulationStage::Verdict;
  const bool stopOnNetlist = request.settings.stopOnNetlist;
  CellsimOutcome outcome =
      ReadCellsimOutcome(request.projectDir, request.library.name, stopOnNetlist);
  const int endSignal = runner.EndSignal();
  if (endSignal != 0) MarkCellsimEndedBySignal(outcome, endSignal, stopOnNetlist);
  result.verdict = CellsimVerdictOf(outcome.status);
  result.message = outcome.message;
  result.log = outcome.logFile;
  ReadCellsimFindings(request.projectDir, request.library.name, outcome.logs.unreadable,
                      result.findings, result.findingsTruncated);
  if (endSignal != 0) {
    result.cause = "cellsim was ended by " + SignalText(endSignal);
  } else if (result.verdict == Verdict::Unknown) {
    result.cause = "the final status report " + CellsimFinalStatusPath(request.projectDir) +
                   " cannot be read as a file";
  }
  return {result};
}
