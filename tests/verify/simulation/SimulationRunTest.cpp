// The simulation flow's run through a fake tool runner: the start it composes, where the tool
// starts, and the verdict and findings it reads from recorded reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "TempDir.h"
#include "verify/WorkingDirectory.h"
#include "verify/simulation/CellsimTexts.h"
#include "verify/simulation/SimulationRun.h"

namespace fs = std::filesystem;

namespace {

// Records each start and the directory it starts in, then writes what the tool would.
class FakeRunner final : public ToolRunner {
 public:
  bool Run(const ToolStart& start) override {
    starts.push_back(start);
    directory = CurrentDirectory();
    if (write) write();
    return !cancel;
  }
  void Tell(const std::string&, bool) override {}
  std::vector<ToolStart> starts;
  std::string directory;
  std::function<void()> write;
  bool cancel = false;
};

class SimulationRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "libs/simcells/nor2");
    dir.write("libs/simcells/vlog_model_path.txt", "models\n");
    request.projectDir = dir.str() + "/";
    request.library = LocateCellsimLibrary("simcells", dir.str() + "/libs/simcells");
    request.cells = {"nor2"};
    request.settings.views = "verilog";
    request.installRoot = "/opt/kestra";
  }
  TempDir dir;
  SimulationRequest request;
  FakeRunner runner;
  SimulationPlan plan;
};

TEST_F(SimulationRunTest, ComposesTheStartAndReadsTheReportsIntoFindings) {
  runner.write = [] {
    std::ofstream("finalstatus.rep") << "FAILED\n";
    std::ofstream("cellsim_summary.rep") << "nor2: netlist FAILED, simulation not run\n";
    fs::create_directories("wrapper_error_log");
    std::ofstream("wrapper_error_log/nor2.log")
        << "nor2 verilog: wrapper cnor2 lacks symbol pin B\n";
  };
  const std::string before = CurrentDirectory();
  const auto results = RunSimulation(request, runner, plan);
  EXPECT_EQ(CurrentDirectory(), before) << "the run comes back";
  ASSERT_EQ(runner.starts.size(), 1u);
  const ToolStart& start = runner.starts[0];
  EXPECT_EQ(start.program, "/opt/kestra/tools/libutil/cellsim.exe");
  EXPECT_EQ(start.statusText, "Library : simcells,  Part : nor2");
  EXPECT_EQ(start.arguments.rfind("-libdir " + dir.str() + "/libs -lib simcells -cell nor2", 0), 0u)
      << start.arguments;
  EXPECT_EQ(fs::path(runner.directory), fs::canonical(dir.path() / "temp_sim_test"));

  EXPECT_EQ(plan.stage, SimulationStage::Verdict);
  ASSERT_EQ(results.size(), 1u);
  const VerifyResult& result = results[0];
  EXPECT_EQ(result.flow, "simulation");
  EXPECT_EQ(result.cell, "nor2");
  EXPECT_EQ(result.verdict, Verdict::Failed);
  EXPECT_EQ(result.message, "Simulation checks FAILED, see log file for details");
  ASSERT_EQ(result.findings.size(), 2u);
  EXPECT_EQ(result.findings[0].rule, "netlist");
  EXPECT_EQ(result.findings[1].rule, "pin_missing_in_wrapper");
  EXPECT_EQ(result.findings[1].object, "B");
  EXPECT_EQ(result.findings[1].part, "nor2");
}

TEST_F(SimulationRunTest, RefusedCancelledAndUnknownRuns) {
  request.settings.views.clear();
  auto results = RunSimulation(request, runner, plan);
  EXPECT_EQ(plan.stage, SimulationStage::Refused);
  EXPECT_EQ(plan.problem, kCellsimNoViews);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].cause, kCellsimNoViews);
  EXPECT_TRUE(runner.starts.empty()) << "nothing ran";

  request.settings.views = "verilog";
  runner.cancel = true;
  EXPECT_TRUE(RunSimulation(request, runner, plan).empty()) << "a cancelled run has no verdict";
  EXPECT_EQ(plan.stage, SimulationStage::Cancelled);

  // A folder where the status report should be: the verdict is unknown, and says why.
  runner.cancel = false;
  runner.write = [] { fs::create_directory("finalstatus.rep"); };
  results = RunSimulation(request, runner, plan);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].verdict, Verdict::Unknown) << "a folder where the report should be";
  EXPECT_NE(results[0].cause.find("cannot be read as a file"), std::string::npos);
}

}  // namespace
