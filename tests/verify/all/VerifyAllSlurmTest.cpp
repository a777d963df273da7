// `kestra verify all -slurm` on a real one-node Slurm cluster started by the test: the page's
// verdicts and findings equal a local run's, and a cancelled array task gives its parts an
// unknown verdict that says so. Skipped, saying why, where the daemons cannot start.
#include <gtest/gtest.h>

#include <QProcess>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "SlurmCluster.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

// What a page shows of each part and flow: the verdict and the findings (without the report
// files they were read from, which lie in each run's own scratch folder).
std::map<std::string, std::string> Shown(const std::string& json) {
  std::map<std::string, std::string> shown;
  const auto parsed = nlohmann::json::parse(json, nullptr, false);
  if (parsed.is_discarded()) return shown;
  for (const auto& part : parsed["parts"]) {
    std::string text = part["verdict"].get<std::string>() + ": " + part.value("message", "");
    for (const auto& finding : part.value("finding_records", nlohmann::json::array()))
      text += " | " + finding.value("severity", "") + " " + finding.value("rule", "") + " " +
              finding.value("part", "") + " " + finding.value("object", "") + " " +
              finding.value("message", "");
    shown[part["library"].get<std::string>() + "/" + part["cell"].get<std::string>() + " " +
          part["flow"].get<std::string>()] = text;
  }
  return shown;
}

class VerifyAllSlurmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    projectFile = CopyDemoProject(dir.path());
    std::string whyNot;
    cluster = SlurmCluster::Start(dir.path() / "cluster", whyNot);
    if (!cluster) GTEST_SKIP() << whyNot;
  }
  ProgramRun Kestra(const QStringList& words) {
    return RunProgram(KESTRA_PROGRAM, words, dir.str(), QProcessEnvironment::systemEnvironment(),
                      240000);
  }
  std::string Client(const std::string& command) {
    const ProgramRun run =
        RunProgram("/bin/sh", {"-c", QString::fromStdString(command)}, dir.str());
    return run.out;
  }

  TempDir dir;
  fs::path projectFile;
  std::unique_ptr<SlurmCluster> cluster;
};

}  // namespace

TEST_F(VerifyAllSlurmTest, TheClusterGivesTheVerdictsAndFindingsOfALocalRun) {
  const QStringList common = {"verify", "all", "-proj", "demo/demo.tak", "-lib", "standard"};
  const ProgramRun local = Kestra(common + QStringList{"-j", "2", "-json"});
  const ProgramRun slurm =
      Kestra(common + QStringList{"-slurm", "-wait", "-plan", "run/verify.sbatch", "-json"});
  ASSERT_EQ(slurm.status, local.status) << slurm.err << cluster->Logs();
  EXPECT_NE(slurm.out.find("array job: "), std::string::npos) << slurm.out;
  const auto shown = Shown(slurm.out.substr(slurm.out.find('{')));
  EXPECT_EQ(shown, Shown(local.out));
  EXPECT_EQ(shown.size(), 28u) << slurm.err;  // 7 parts, 4 flows
  EXPECT_TRUE(fs::exists(dir.path() / "run/verify.sbatch.d/report.html")) << slurm.err;
  const std::string script = ReadFile(dir.path() / "run/verify.sbatch");
  EXPECT_NE(script.find("file system that every node of the cluster shares"), std::string::npos);

  // A results folder of a run that may still be going is not written over.
  const ProgramRun again = Kestra(common + QStringList{"-slurm", "-plan", "run/verify.sbatch"});
  EXPECT_EQ(again.status, 2);
  EXPECT_NE(again.err.find("holds the results of an earlier run"), std::string::npos) << again.err;
  // The scheduler's refusal in its own words.
  const ProgramRun refused = Kestra(common + QStringList{"-slurm", "-plan", "other/verify.sbatch",
                                                         "-sbatch-args", "--partition=nosuch"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("the scheduler refused the jobs: "), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("nosuch"), std::string::npos) << refused.err;
}

TEST_F(VerifyAllSlurmTest, ACancelledArrayTaskLeavesItsPartsUnknownNotMissing) {
  // Held, so that one task can be cancelled before any runs.
  const ProgramRun submitted =
      Kestra({"verify", "all", "-proj", "demo/demo.tak", "-lib", "standard", "-flows", "rulex",
              "-slurm", "-plan", "run/verify.sbatch", "-sbatch-args", "--hold"});
  ASSERT_EQ(submitted.status, 0) << submitted.err;
  const auto id = [&](const std::string& label) {
    const std::size_t at = submitted.out.find(label);
    return at == std::string::npos
               ? std::string()
               : submitted.out.substr(at + label.size(),
                                      submitted.out.find('\n', at) - at - label.size());
  };
  const std::string array = id("array job: ");
  const std::string merge = id("merge job: ");
  ASSERT_FALSE(array.empty() || merge.empty()) << submitted.out;
  // Task 3 is cancelled before it starts; task 5 fails (its line is made to fail).
  Client("scancel " + array + "_3");
  Client("sed -i '5s/.*/exit 9/' run/verify.sbatch.d/jobs.txt");
  Client("scontrol release " + array + " " + merge);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(180);
  while (Client("scontrol show job -o " + merge).find("JobState=COMPLETED") == std::string::npos &&
         std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const auto shown = Shown(ReadFile(dir.path() / "run/verify.sbatch.d/merged.json"));
  ASSERT_EQ(shown.size(), 7u) << cluster->Logs();
  // The third line is the third part's check: 7408 (parts in name order).
  EXPECT_EQ(shown.at("standard/7408 rulex"),
            "unknown: the cluster job " + array + "_3 ended with CANCELLED");
  EXPECT_EQ(shown.at("standard/7486 rulex"),
            "unknown: the cluster job " + array + "_5 ended with FAILED");
  EXPECT_EQ(shown.at("standard/7400 rulex").rfind("passed: ", 0), 0u)
      << shown.at("standard/7400 rulex");
}

TEST(VerifyAllSlurmWithoutSbatchTest, SaysSoAndWritesNothing) {
  TempDir dir;
  CopyDemoProject(dir.path());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PATH", QString::fromStdString(dir.str()));
  const ProgramRun run = RunProgram(
      KESTRA_PROGRAM,
      {"verify", "all", "-proj", "demo/demo.tak", "-slurm", "-plan", "run/verify.sbatch"},
      dir.str(), env);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("needs Slurm's sbatch, which is not on PATH"), std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(dir.path() / "run"));
}
