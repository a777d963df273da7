// One simulation-flow run from request to result, shared by the dialog and the headless verb:
// check the request, compose cellsim's options, enter the scratch directory, hand the start
// to a ToolRunner, come back, and read the reports into a verdict and its findings. Standard
// C++ (and the suite's path helpers); moves the current directory for the run, so UI thread.
#pragma once

#include <string>
#include <vector>

#include "verify/ToolRunner.h"
#include "verify/VerifyResult.h"
#include "verify/simulation/CellsimOptions.h"

struct SimulationRequest {
  std::string projectDir;          // the project directory, as CellsimProjectDirectory takes it
  CellsimLibrary library;          // LocateCellsimLibrary
  std::vector<std::string> cells;  // the selected cells; none for the whole library
  CellsimSettings settings;        // with its paths resolved (ResolveCellsimPaths)
  std::string installRoot;
};

enum class SimulationStage {
  Verdict,        // the reports gave a verdict (which may be unknown)
  Refused,        // the request or the options cannot be used: nothing ran
  ScratchFailed,  // the scratch directory cannot be entered: nothing ran
  Cancelled,      // the user stopped the tool: no verdict
};

// What a run composed and how far it got.
struct SimulationPlan {
  SimulationStage stage = SimulationStage::Refused;
  std::string problem;  // Refused, ScratchFailed: the text to show
  ToolStart start;      // the tool's start, once composed
};

// The result of the run (none when cancelled). A run that did not start gives a result whose
// message and cause are the problem. The current directory is the same after.
std::vector<VerifyResult> RunSimulation(const SimulationRequest& request, ToolRunner& runner,
                                        SimulationPlan& plan);
