// The temporary project, the run directory read from the project, and one whole run with a
// runner that plays the checker's part on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "TempDir.h"
#include "projectfile/CSpiProject.h"
#include "verify/rulex/RulexFlow.h"
#include "verify/rulex/RulexProject.h"
#include "verify/rulex/RulexRules.h"

namespace fs = std::filesystem;

namespace {

// The project-file library finds its install, site and user files once per process; these
// tests give it an install file without a RULEX section of its own, so that what a test
// project leaves out is really absent.
class OwnInstallFiles final : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempDir>();
    folder_->write("qvdsetup/projmgr/qvd.tak", "START_GLOBAL\ntemp_dir 'temp'\nEND_GLOBAL\n");
    setenv("QSF_SEARCH_PATH", folder_->str().c_str(), 1);
  }
  void TearDown() override { folder_.reset(); }

 private:
  std::unique_ptr<TempDir> folder_;
};
// GoogleTest owns registered environments.
[[maybe_unused]] const auto* const kOwnInstallFiles =
    ::testing::AddGlobalTestEnvironment(new OwnInstallFiles);

std::vector<std::string> Values(const std::string& projectFile, const std::string& program,
                                const std::string& directive) {
  CSpiProject project;
  std::vector<std::string> values;
  if (project.Open(projectFile) != 0 || project.FindProgram(program) != 0 ||
      project.FindDirective(directive) != 0) {
    return {"<missing>"};
  }
  project.RewindValues();
  for (std::string v; project.GetNextValue(v) == 0;) values.push_back(v);
  return values;
}

// Plays the checker: records what it saw and writes the log it is given.
class ScriptedRunner final : public RulexToolRunner {
 public:
  bool Run(const RulexPlan& plan) override {
    seenPlan = plan;
    hadOldLog = fs::exists(plan.logFile);
    commandFile = ReadFile(plan.commandFile);
    if (!log.empty()) TempDirWrite(plan.logFile, log);
    return !cancel;
  }
  static void TempDirWrite(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string log;
  bool cancel = false;
  bool hadOldLog = false;
  std::string commandFile;
  RulexPlan seenPlan;
};

std::string SummaryLog(const std::string& counts) {
  return std::string(600, '.') + "\nTOTAL " + counts + "\n";
}

class RulexFlowTest : public ::testing::Test {
 protected:
  RulexRequest Request(const std::string& projectText) {
    dir.write("proj/demo.tak", projectText);
    RulexRequest request;
    request.projectFile = dir.str() + "/proj/demo.tak";
    request.projectDir = dir.str() + "/proj/";
    request.projectName = "demo";
    request.library = "ttl";
    request.selectedLibraries = {"ttl"};
    request.rules = MakeRuleList(kAllRulexRules);
    request.installRoot = "/inst";
    return request;
  }
  TempDir dir;
};

}  // namespace

TEST_F(RulexFlowTest, RunDirectoryFromTheProject) {
  dir.write("none.tak", "START_GLOBAL\nlibrary 'a'\nEND_GLOBAL\n");
  dir.write("norundir.tak", "START_RULEX\nother 'x'\nEND_RULEX\n");
  dir.write("abs.tak", "START_RULEX\nrundir '/scratch/rx'\nEND_RULEX\n");
  dir.write("dot.tak", "START_RULEX\nrundir './out' './second'\nEND_RULEX\n");
  EXPECT_EQ(ReadRulexRunDirectory(dir.str() + "/none.tak"), std::nullopt);
  EXPECT_EQ(ReadRulexRunDirectory(dir.str() + "/norundir.tak"), std::nullopt);
  EXPECT_EQ(ReadRulexRunDirectory(dir.str() + "/missing.tak"), std::nullopt);
  EXPECT_EQ(ReadRulexRunDirectory(dir.str() + "/abs.tak"), "/scratch/rx");
  EXPECT_EQ(ReadRulexRunDirectory(dir.str() + "/dot.tak"), "./out");
}

TEST_F(RulexFlowTest, TemporaryProjectNamesTheSelection) {
  // No GLOBAL at all: it is created with the three directives.
  const auto noGlobal = dir.write("a_tmp.tak", "START_RULEX\nrundir './rx'\nEND_RULEX\n");
  ASSERT_TRUE(UpdateTempProject(noGlobal.string(), "ttl", "ls00", {"ttl"}));
  EXPECT_EQ(Values(noGlobal.string(), "GLOBAL", "library"), std::vector<std::string>{"ttl"});
  EXPECT_EQ(Values(noGlobal.string(), "GLOBAL", "design_library"), std::vector<std::string>{"ttl"});
  EXPECT_EQ(Values(noGlobal.string(), "GLOBAL", "design_name"), std::vector<std::string>{"ls00"});
  EXPECT_EQ(Values(noGlobal.string(), "RULEX", "rundir"), std::vector<std::string>{"./rx"});

  // An empty design name keeps the copied one; an empty design library touches neither.
  const auto keep = dir.write(
      "b_tmp.tak",
      "START_GLOBAL\nlibrary 'x' 'y'\ndesign_library 'old'\ndesign_name 'cell'\nEND_GLOBAL\n");
  ASSERT_TRUE(UpdateTempProject(keep.string(), "ttl", "", {"ttl"}));
  EXPECT_EQ(Values(keep.string(), "GLOBAL", "library"), std::vector<std::string>{"ttl"});
  EXPECT_EQ(Values(keep.string(), "GLOBAL", "design_library"), std::vector<std::string>{"ttl"});
  EXPECT_EQ(Values(keep.string(), "GLOBAL", "design_name"), std::vector<std::string>{"cell"});
  ASSERT_TRUE(UpdateTempProject(keep.string(), "", "", {"lib one"}));
  EXPECT_EQ(Values(keep.string(), "GLOBAL", "library"), std::vector<std::string>{"lib one"});
  EXPECT_EQ(Values(keep.string(), "GLOBAL", "design_library"), std::vector<std::string>{"ttl"});

  EXPECT_FALSE(UpdateTempProject(dir.str() + "/missing_tmp.tak", "ttl", "", {"ttl"}));
}

TEST_F(RulexFlowTest, MinimalRunComposesRunsAndReadsTheVerdict) {
  RulexRequest request = Request("START_GLOBAL\nlibrary 'std'\nEND_GLOBAL\n");
  request.cell = "ls00";
  request.referenceLibrary = true;
  // A log of an earlier run must not survive into this one.
  dir.write("proj/rulex/rx.msg", SummaryLog("0 0 0 0 0 0"));
  ScriptedRunner runner;
  runner.log = SummaryLog("0 0 2 1 0 3");
  const RulexOutcome outcome = RunRulexFlow(request, runner);

  EXPECT_FALSE(runner.hadOldLog);
  EXPECT_EQ(outcome.stage, RulexStage::Verdict);
  EXPECT_EQ(outcome.message,
            "View verification failed.  Warnings:2 Errors:1 See log file for details.");
  EXPECT_EQ(outcome.log.verdict, Verdict::Failed);
  const std::string projectDir = request.projectDir;
  EXPECT_EQ(outcome.plan.runDirectory, projectDir + "./rulex");
  EXPECT_EQ(outcome.plan.options,
            " -proj \"" + projectDir + "demo_tmp.tak\" -qvdlib \"" + projectDir + "refqvd.lib\"");
  EXPECT_EQ(runner.seenPlan.statusText, "Library : ttl, Part : ls00");
  EXPECT_EQ(runner.commandFile.substr(0, 12), "\"ttl.ls00\"\n-");
  EXPECT_EQ(Values(projectDir + "demo_tmp.tak", "GLOBAL", "design_name"),
            std::vector<std::string>{"ls00"});
  EXPECT_EQ(Values(request.projectFile, "GLOBAL", "library"), std::vector<std::string>{"std"})
      << "the project file itself is left alone";
}

TEST_F(RulexFlowTest, RunsWithoutAVerdict) {
  RulexRequest request = Request("START_RULEX\nrundir './runs/rx'\nEND_RULEX\n");
  {
    ScriptedRunner cancelled;
    cancelled.cancel = true;
    cancelled.log = SummaryLog("0 0 0 0 0 0");
    EXPECT_EQ(RunRulexFlow(request, cancelled).stage, RulexStage::Cancelled);
    EXPECT_TRUE(fs::is_directory(request.projectDir + "./runs/rx"));
  }
  {
    ScriptedRunner crashed;  // writes no log: the earlier one is gone, so no stale verdict
    const RulexOutcome outcome = RunRulexFlow(request, crashed);
    EXPECT_EQ(outcome.stage, RulexStage::LogProblem);
    EXPECT_EQ(outcome.log.text, "failed. Reason:Unable to open log file");
  }
  {
    // rx.dat is a folder: the command file cannot be written and the tool is not run.
    fs::remove(request.projectDir + "runs/rx/rx.dat");
    fs::create_directory(request.projectDir + "runs/rx/rx.dat");
    ScriptedRunner unused;
    EXPECT_EQ(RunRulexFlow(request, unused).stage, RulexStage::CommandFileFailed);
    EXPECT_TRUE(unused.seenPlan.options.empty());
  }
  {
    RulexRequest missing = request;
    missing.projectFile += ".gone";
    ScriptedRunner unused;
    EXPECT_EQ(RunRulexFlow(missing, unused).stage, RulexStage::TempProjectFailed);
  }
}

TEST_F(RulexFlowTest, WindowRunEmptiesTheCommandFileAndNamesTheCells) {
  const RulexRequest request = Request("START_GLOBAL\nlibrary 'a'\nEND_GLOBAL\n");
  dir.write("proj/rulex/rx.dat", "\"old.cell\"\n-r x");
  RulexPlan plan;
  std::string refusal;
  ASSERT_EQ(PrepareRulexWindow(request, {"c1", "c 2"}, plan, refusal), RulexStage::Verdict);
  EXPECT_EQ(ReadFile(request.projectDir + "rulex/rx.dat"), "");
  EXPECT_TRUE(plan.options.ends_with(" -lib \"ttl\" -cell \"c1\" -cell \"c 2\"")) << plan.options;
  EXPECT_EQ(Values(request.projectDir + "demo_tmp.tak", "GLOBAL", "library"),
            std::vector<std::string>{"ttl"});
}
