// The temporary project, the run directory read from the project, and whole runs through a
// fake tool runner that plays the checker's part on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "FakeToolRunner.h"
#include "TempDir.h"
#include "projectfile/CSpiProject.h"
#include "verify/rulex/RulexProject.h"
#include "verify/rulex/RulexRules.h"
#include "verify/rulex/RulexRun.h"
#include "verify/rulex/RulexTexts.h"

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

std::string SummaryLog(const std::string& counts) {
  return std::string(600, '.') + "\nTOTAL " + counts + "\n";
}

class RulexRunTest : public ::testing::Test {
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
  // A checker that writes log, when given, into the plan's run directory.
  static FakeToolRunner Checker(const RulexPlan& plan, const std::string& log) {
    FakeToolRunner runner;
    runner.write = [&plan, log](const ToolStart&) {
      if (!log.empty()) std::ofstream(plan.logFile, std::ios::binary) << log;
    };
    return runner;
  }
  TempDir dir;
};

}  // namespace

TEST_F(RulexRunTest, RunDirectoryFromTheProject) {
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

TEST_F(RulexRunTest, TemporaryProjectNamesTheSelection) {
  RulexProjectSettings settings;
  // No GLOBAL at all: it is created with the three directives.
  const std::string noGlobalText = "START_RULEX\nrundir './rx'\nEND_RULEX\n";
  const auto noGlobal = dir.write("a.tak", noGlobalText);
  const std::string temp = dir.str() + "/a_tmp.tak";
  ASSERT_TRUE(WriteTempProject(noGlobal.string(), temp, "ttl", "ls00", {"ttl"}, settings));
  EXPECT_EQ(Values(temp, "GLOBAL", "library"), std::vector<std::string>{"ttl"});
  EXPECT_EQ(Values(temp, "GLOBAL", "design_library"), std::vector<std::string>{"ttl"});
  EXPECT_EQ(Values(temp, "GLOBAL", "design_name"), std::vector<std::string>{"ls00"});
  EXPECT_EQ(Values(temp, "RULEX", "rundir"), std::vector<std::string>{"./rx"});
  // The run directory comes from the same reading; the project itself stays as it was.
  EXPECT_EQ(settings.runDirectory, "./rx");
  EXPECT_EQ(ReadFile(noGlobal), noGlobalText);

  // An empty design name keeps the project's; an empty design library touches neither. A
  // link planted at the temporary project's place is replaced, not written through.
  const auto keep = dir.write(
      "b.tak",
      "START_GLOBAL\nlibrary 'x' 'y'\ndesign_library 'old'\ndesign_name 'cell'\nEND_GLOBAL\n");
  const auto victim = dir.write("victim.txt", "kept");
  const std::string keepTemp = dir.str() + "/b_tmp.tak";
  fs::create_symlink(victim, keepTemp);
  ASSERT_TRUE(WriteTempProject(keep.string(), keepTemp, "ttl", "", {"ttl"}, settings));
  EXPECT_FALSE(fs::is_symlink(keepTemp));
  EXPECT_EQ(ReadFile(victim), "kept");
  EXPECT_EQ(settings.runDirectory, std::nullopt);
  EXPECT_EQ(Values(keepTemp, "GLOBAL", "library"), std::vector<std::string>{"ttl"});
  EXPECT_EQ(Values(keepTemp, "GLOBAL", "design_library"), std::vector<std::string>{"ttl"});
  EXPECT_EQ(Values(keepTemp, "GLOBAL", "design_name"), std::vector<std::string>{"cell"});
  ASSERT_TRUE(WriteTempProject(keep.string(), keepTemp, "", "", {"lib one"}, settings));
  EXPECT_EQ(Values(keepTemp, "GLOBAL", "library"), std::vector<std::string>{"lib one"});
  EXPECT_EQ(Values(keepTemp, "GLOBAL", "design_library"), std::vector<std::string>{"old"});

  EXPECT_FALSE(WriteTempProject(dir.str() + "/missing.tak", dir.str() + "/m_tmp.tak", "ttl", "",
                                {"ttl"}, settings));
  EXPECT_FALSE(fs::exists(dir.str() + "/m_tmp.tak"));
}

TEST_F(RulexRunTest, ARerunWithTheSameSettingsKeepsTheTemporaryProject) {
  const auto project = dir.write("c.tak", "START_GLOBAL\nlibrary 'x'\nEND_GLOBAL\n");
  const std::string temp = dir.str() + "/c_tmp.tak";
  RulexProjectSettings settings;
  ASSERT_TRUE(WriteTempProject(project.string(), temp, "ttl", "ls00", {"ttl"}, settings));
  // The same settings saved at another time: only the save-time line differs.
  std::string earlier = ReadFile(temp);
  const std::size_t stamp = earlier.find("{ Last modified was ");
  ASSERT_NE(stamp, std::string::npos);
  earlier.replace(stamp, earlier.find('\n', stamp) - stamp,
                  "{ Last modified was 00:00:00 Thursday, January 01, 1970 }");
  dir.write("c_tmp.tak", earlier);
  ASSERT_TRUE(WriteTempProject(project.string(), temp, "ttl", "ls00", {"ttl"}, settings));
  EXPECT_EQ(ReadFile(temp), earlier);
  // Another part is written; so is a copy that is a second name of another file.
  ASSERT_TRUE(WriteTempProject(project.string(), temp, "ttl", "ls04", {"ttl"}, settings));
  EXPECT_EQ(Values(temp, "GLOBAL", "design_name"), std::vector<std::string>{"ls04"});
  const std::string other = dir.str() + "/other.tak";
  fs::create_hard_link(temp, other);
  const std::string held = ReadFile(other);
  ASSERT_TRUE(WriteTempProject(project.string(), temp, "ttl", "ls04", {"ttl"}, settings));
  EXPECT_EQ(fs::hard_link_count(temp), 1u);
  EXPECT_EQ(ReadFile(other), held);
}

TEST_F(RulexRunTest, MinimalRunComposesRunsAndReadsTheVerdict) {
  RulexRequest request = Request("START_GLOBAL\nlibrary 'std'\nEND_GLOBAL\n");
  request.cell = "ls00";
  request.selectedLibrary = "TTL";
  request.referenceLibrary = true;
  // A log of an earlier run must not survive into this one.
  dir.write("proj/rulex/rx.msg", SummaryLog("0 0 0 0 0 0"));
  RulexPlan plan;
  FakeToolRunner runner;
  bool hadOldLog = true;
  std::string commandFile;
  runner.write = [&](const ToolStart&) {
    hadOldLog = fs::exists(plan.logFile);
    commandFile = ReadFile(plan.commandFile);
    std::ofstream(plan.logFile, std::ios::binary)
        << "error - prop_present: ls00_DIP14 lacks property PART_NAME\n"
        << SummaryLog("0 0 2 1 0 3");
  };
  const std::vector<VerifyResult> results = RunRulex(request, runner, plan);

  EXPECT_FALSE(hadOldLog);
  EXPECT_EQ(plan.stage, RulexStage::Verdict);
  ASSERT_EQ(results.size(), 1u);
  const VerifyResult& result = results[0];
  EXPECT_EQ(result.message,
            "View verification failed.  Warnings:2 Errors:1 See log file for details.");
  EXPECT_EQ(result.verdict, Verdict::Failed);
  EXPECT_EQ(result.flow, "rulex");
  EXPECT_EQ(result.library, "TTL") << "the library as the user named it";
  EXPECT_EQ(result.log, plan.logFile);
  ASSERT_EQ(result.counts.size(), 6u);
  EXPECT_EQ(result.counts[2], std::make_pair(std::string("warnings"), std::optional<long>(2)));
  ASSERT_EQ(result.findings.size(), 1u);
  EXPECT_EQ(result.findings[0].rule, "prop_present");
  EXPECT_EQ(result.findings[0].part, "ls00");
  const std::string projectDir = request.projectDir;
  EXPECT_EQ(plan.runDirectory, projectDir + "./rulex");
  EXPECT_EQ(plan.options,
            " -proj \"" + projectDir + "demo_tmp.tak\" -qvdlib \"" + projectDir + "refqvd.lib\"");
  ASSERT_EQ(runner.starts.size(), 1u);
  EXPECT_EQ(runner.starts[0].operation, ToolOperation::Rulex);
  EXPECT_EQ(runner.starts[0].arguments, plan.options);
  EXPECT_EQ(runner.starts[0].statusText, "Library : ttl, Part : ls00");
  EXPECT_EQ(commandFile.substr(0, 12), "\"ttl.ls00\"\n-");
  EXPECT_EQ(Values(projectDir + "demo_tmp.tak", "GLOBAL", "design_name"),
            std::vector<std::string>{"ls00"});
  EXPECT_EQ(Values(request.projectFile, "GLOBAL", "library"), std::vector<std::string>{"std"})
      << "the project file itself is left alone";
}

TEST_F(RulexRunTest, RunsWithoutAVerdict) {
  RulexRequest request = Request("START_RULEX\nrundir './runs/rx'\nEND_RULEX\n");
  {
    RulexPlan plan;
    FakeToolRunner cancelled = Checker(plan, SummaryLog("0 0 0 0 0 0"));
    cancelled.cancel = true;
    EXPECT_TRUE(RunRulex(request, cancelled, plan).empty()) << "a cancelled run has no result";
    EXPECT_EQ(plan.stage, RulexStage::Cancelled);
    EXPECT_TRUE(fs::is_directory(request.projectDir + "./runs/rx"));
  }
  {
    RulexPlan plan;
    FakeToolRunner killed = Checker(plan, SummaryLog("0 0 0 0 0 0"));
    killed.endSignal = [](const ToolStart&) { return 11; };
    const std::vector<VerifyResult> results = RunRulex(request, killed, plan);
    EXPECT_EQ(plan.stage, RulexStage::ToolKilled);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].verdict, Verdict::Unknown) << "its passing log is not trusted";
    EXPECT_NE(results[0].cause.find("ended by signal 11"), std::string::npos) << results[0].cause;
  }
  {
    RulexPlan plan;
    FakeToolRunner crashed = Checker(plan, "");  // no log: the earlier one is gone
    const std::vector<VerifyResult> results = RunRulex(request, crashed, plan);
    EXPECT_EQ(plan.stage, RulexStage::LogProblem);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].cause,
              std::string(kRulexLogError) + " (failed. Reason:Unable to open log file)");
    EXPECT_FALSE(results[0].counts[0].second.has_value());
  }
  {
    // rx.dat is a folder: the command file cannot be written and the tool is not run.
    fs::remove(request.projectDir + "runs/rx/rx.dat");
    fs::create_directory(request.projectDir + "runs/rx/rx.dat");
    RulexPlan plan;
    FakeToolRunner unused;
    const std::vector<VerifyResult> results = RunRulex(request, unused, plan);
    EXPECT_EQ(plan.stage, RulexStage::CommandFileFailed);
    EXPECT_TRUE(unused.starts.empty());
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].message, RulexFailureText(plan, kRulexTempProjectFailed));
  }
  {
    RulexRequest missing = request;
    missing.projectFile += ".gone";
    RulexPlan plan;
    FakeToolRunner unused;
    const std::vector<VerifyResult> results = RunRulex(missing, unused, plan);
    EXPECT_EQ(plan.stage, RulexStage::TempProjectFailed);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].cause, kRulexTempProjectFailed);
  }
}

TEST_F(RulexRunTest, WindowRunEmptiesTheCommandFileAndNamesTheCells) {
  const RulexRequest request = Request("START_GLOBAL\nlibrary 'a'\nEND_GLOBAL\n");
  dir.write("proj/rulex/rx.dat", "\"old.cell\"\n-r x");
  RulexPlan plan;
  ASSERT_EQ(PrepareRulexWindow(request, {"c1", "c 2"}, plan), RulexStage::Verdict);
  EXPECT_EQ(ReadFile(request.projectDir + "rulex/rx.dat"), "");
  EXPECT_TRUE(plan.options.ends_with(" -lib \"ttl\" -cell \"c1\" -cell \"c 2\"")) << plan.options;
  EXPECT_EQ(Values(request.projectDir + "demo_tmp.tak", "GLOBAL", "library"),
            std::vector<std::string>{"ttl"});
}
