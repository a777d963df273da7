// The packaging flow's run through a fake tool runner: the starts it composes and orders, and
// the results and findings it reads from recorded reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FakeToolRunner.h"
#include "TempDir.h"
#include "verify/packaging/PackagingCommand.h"
#include "verify/packaging/PackagingReports.h"
#include "verify/packaging/PackagingRun.h"
#include "verify/packaging/PackagingTexts.h"

namespace fs = std::filesystem;

namespace {

class PackagingRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    request.projectFile = dir.write("proj/p.tak", "").string();
    request.projectPath = dir.str() + "/proj/";
    fs::create_directories(dir.path() / "proj/libs/packs/a");
    fs::create_directories(dir.path() / "proj/libs/packs/b");
    request.library = "packs";
    request.libraryPath = dir.str() + "/proj/libs/packs";
    request.libraryCells = {"a", "b"};
    request.installRoot = "/opt/kestra";
    // The stand-in packager: part b fails with a line of its log, a passes.
    runner.write = [](const ToolStart& start) {
      const bool failed = start.arguments.find("-cell b") != std::string::npos ||
                          start.arguments.find("-cell a b") != std::string::npos;
      std::ofstream(kStatusReport) << (failed ? "FAILED\n" : "PASSED\n");
      std::ofstream(kLogReport) << (failed ? "ERROR: part b: pin 3 has no pad\n" : "");
    };
  }
  std::string Project(const std::string& relative) const { return dir.str() + "/proj/" + relative; }

  TempDir dir;
  PackagingRequest request;
  FakeToolRunner runner;
  PackagingPlan plan;
};

TEST_F(PackagingRunTest, OneRunOverSeveralPartsComposesItsStartAndReadsTheLog) {
  request.cells = {"a", "b"};
  const std::string before = CurrentDirectory();
  const auto results = RunPackaging(request, runner, plan);
  EXPECT_EQ(CurrentDirectory(), before) << "the run comes back";
  ASSERT_EQ(runner.starts.size(), 1u);
  const ToolStart& start = runner.starts[0];
  EXPECT_EQ(start.operation, ToolOperation::LibKit);
  EXPECT_EQ(start.program, "/opt/kestra/tools/libutil/cellpack.exe");
  EXPECT_EQ(start.arguments,
            "-libdir \"" + dir.str() + "/proj/libs\" -lib packs -cell a b  -page d ");
  EXPECT_EQ(start.statusText, "Library : packs, Parts : Multiple");
  EXPECT_EQ(fs::path(runner.directories[0]), fs::canonical(Project("temp_ftb_test")));
  EXPECT_EQ(plan.stage, PackagingStage::Verdict);
  EXPECT_EQ(plan.lastArguments, start.arguments);

  ASSERT_EQ(results.size(), 1u);
  const VerifyResult& result = results[0];
  EXPECT_EQ(result.flow, "packaging");
  EXPECT_EQ(result.cell, "a b");
  EXPECT_EQ(result.verdict, Verdict::Failed);
  EXPECT_EQ(result.message, PackagerVerdictMessage(Verdict::Failed));
  EXPECT_EQ(result.log, Project("temp_ftb_test/ftb.rep"));
  ASSERT_EQ(result.findings.size(), 1u);
  EXPECT_EQ(result.findings[0].rule, "packaging");
  EXPECT_EQ(result.findings[0].part, "b");
  EXPECT_NE(result.findings[0].message.find("pin 3 has no pad"), std::string::npos);
}

// The pass/fail report runs each part of the library in a scratch directory of its slot, keeps
// each part's reports in temp, and makes a killed part's verdict unknown.
TEST_F(PackagingRunTest, PassFailReportRunsEachPartAndAKilledOneIsUnknown) {
  request.options = kPassFailReport;
  request.parallel = 2;
  runner.endSignal = [](const ToolStart& start) {
    return start.arguments.find("-cell a ") != std::string::npos ? 9 : 0;
  };
  const auto results = RunPackaging(request, runner, plan);
  ASSERT_EQ(runner.starts.size(), 2u);
  EXPECT_EQ(runner.starts[1].statusText, "Library : packs,  Part : b");
  EXPECT_EQ(fs::path(runner.directories[0]), fs::canonical(Project("temp_ftb_test_1")));
  EXPECT_EQ(plan.cells, (std::vector<std::string>{"a", "b"}));
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].cell, "a");
  EXPECT_EQ(results[0].verdict, Verdict::Unknown);
  EXPECT_EQ(results[0].cause, "cellpack was ended by signal 9 (Killed)");
  EXPECT_EQ(plan.unknownParts.at("a"), "ended by signal 9 (Killed)");
  EXPECT_FALSE(fs::exists(Project("temp/a.stat"))) << "a killed part keeps no reports";
  EXPECT_EQ(results[1].verdict, Verdict::Failed);
  EXPECT_EQ(results[1].log, Project("temp/b.log"));
  EXPECT_EQ(ReadFile(Project("temp/b.stat")), "FAILED\n");
  ASSERT_EQ(results[1].findings.size(), 1u);
  EXPECT_EQ(results[1].findings[0].part, "b");
}

TEST_F(PackagingRunTest, RefusalsConsistencyAndCancel) {
  request.options = kPassFailReport;
  request.libraryCells.clear();
  auto results = RunPackaging(request, runner, plan);
  EXPECT_EQ(plan.stage, PackagingStage::Refused);
  EXPECT_EQ(plan.problem, PackagingNoPartsText("packs"));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].cause, plan.problem);

  request.options = 0;
  request.cells = {"-sim"};
  RunPackaging(request, runner, plan);
  EXPECT_EQ(plan.stage, PackagingStage::Blocked);
  EXPECT_NE(plan.problem.find("\"-sim\" cannot be passed"), std::string::npos) << plan.problem;

  request.consistency = true;
  request.cells = {"a", "b"};
  RunPackaging(request, runner, plan);
  EXPECT_EQ(plan.problem, kPackagingOneCell);
  EXPECT_TRUE(runner.starts.empty()) << "nothing ran";

  // The consistency check reads the summary next to the project file.
  request.cells = {"a"};
  runner.write = [&](const ToolStart&) {
    std::ofstream(Project("p.sum")) << "Consistency check of packs: 1 parts checked, 1\n"
                                       "inconsistent. FAILED\n";
  };
  results = RunPackaging(request, runner, plan);
  ASSERT_EQ(runner.starts.size(), 1u);
  EXPECT_EQ(runner.starts[0].program, kConsistencyTool);
  EXPECT_EQ(runner.starts[0].statusText, "Library : packs,  Part : a");
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].verdict, Verdict::Failed);
  EXPECT_EQ(results[0].message,
            "Consistency check of packs: 1 parts checked, 1 inconsistent. FAILED ");
  EXPECT_EQ(results[0].log, Project("p.log"));
  ASSERT_EQ(results[0].findings.size(), 1u);
  EXPECT_EQ(results[0].findings[0].rule, "consistency");

  request.consistency = false;
  runner.cancel = true;
  EXPECT_TRUE(RunPackaging(request, runner, plan).empty()) << "a cancelled run has no verdict";
  EXPECT_EQ(plan.stage, PackagingStage::Cancelled);
}

}  // namespace
