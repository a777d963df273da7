// The pieces of a cluster run without a cluster: the array script's text and its submit and
// task modes run by sh against stand-in sbatch and scancel, the scheduler's outputs read, and
// report merge refusing mixed results and showing missing ones.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TempDir.h"
#include "verify/all/cluster/SlurmJobs.h"
#include "verify/all/cluster/SlurmScript.h"
#include "verify/all/jobs/PlanManifest.h"
#include "verify/all/jobs/ResultFile.h"
#include "verify/all/merge/ResultsMerge.h"

namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

// A shell command's exit status.
int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Executable(const fs::path& file, const std::string& text) {
  WriteText(file, text);
  fs::permissions(file, fs::perms::owner_all);
}

// A job list's folder FILE.d with its plan.json: one line per result, each of library "lib".
fs::path WritePlan(const TempDir& dir, const std::string& name, const std::string& project,
                   const std::vector<std::string>& cells) {
  const fs::path folder = dir.path() / (name + ".d");
  fs::create_directories(folder / "results");
  PlanManifest manifest{NewPlanId(), project, (dir.path() / name).string(), {}};
  for (std::size_t i = 0; i < cells.size(); ++i) {
    manifest.lines.push_back(
        {{(folder / "results" / (std::to_string(i + 1) + ".rulex.json")).string(), "lib", cells[i],
          "rulex"}});
  }
  WriteText(folder / "plan.json", PlanManifestJson(manifest));
  return folder / "results";
}

std::string Record(const std::string& cell, const std::string& verdict) {
  VerifyResult result = FlowResult("rulex", "lib", cell);
  result.verdict = verdict == "passed" ? Verdict::Passed : Verdict::Failed;
  result.message = verdict;
  return ResultRecordJson(result);
}

}  // namespace

TEST(SlurmScript, ArrayRangeTimeLimitPathsAndBothModesUnderSh) {
  TempDir dir;
  const std::string d = dir.str();
  WriteText(dir.path() / "jobs.txt", "echo one >" + d + "/ran.1\nexit 1\nexit 7\n");
  SlurmScriptRequest request;
  request.script = d + "/verify.sbatch";
  request.lines = d + "/jobs.txt";
  request.lineCount = 3;
  request.jobsPerLine = 2;
  request.jobTimeLimit = 100;
  request.program = d + "/build/bin/kestra";
  request.project = d + "/demo/demo.tak";
  request.results = d + "/run 50%/results";
  request.page = d + "/report.html";
  request.merged = d + "/merged.json";
  request.mergeOptions = " -waivers '/shared/w 1.txt'";
  const std::string text = SlurmArrayScript(request);
  Executable(request.script, text);
  EXPECT_NE(text.find("#SBATCH --array=1-3\n"), std::string::npos) << text;
  // Two jobs of 100 s, each with its 5 s of grace, and a minute to start.
  EXPECT_NE(text.find("#SBATCH --time=00:04:30\n"), std::string::npos) << text;
  EXPECT_NE(text.find("#SBATCH --output=" + d + "/run 50%%/results/slurm-%A_%a.out\n"),
            std::string::npos);
  EXPECT_NE(text.find("--dependency=afterany:\"$array\""), std::string::npos);
  EXPECT_NE(text.find(" -cluster-job \"$2\" -waivers '/shared/w 1.txt' -html "), std::string::npos)
      << text;
  EXPECT_NE(text.find("#   project: " + d + "/demo\n#   install: " + d + "/build\n"),
            std::string::npos)
      << text;
  EXPECT_NE(SbatchPathProblem(request.results), "");
  EXPECT_EQ(SbatchPathProblem("/shared/kestra/run.d"), "");
  EXPECT_EQ(SlurmTimeLimit(59), "00:01:00");
  EXPECT_EQ(SlurmTimeLimit(90061), "1-01:01:01");

  // Task mode: line i of the list; a verdict is no failure of the task, anything else is.
  const std::string task = "cd " + d + " && SLURM_ARRAY_TASK_ID=";
  EXPECT_EQ(Shell(task + "1 sh verify.sbatch"), 0);
  EXPECT_TRUE(fs::exists(dir.path() / "ran.1"));
  EXPECT_EQ(Shell(task + "2 sh verify.sbatch"), 0);
  EXPECT_EQ(Shell(task + "3 sh verify.sbatch"), 7);
  EXPECT_EQ(Shell(task + "4 sh verify.sbatch 2>/dev/null"), 2);

  // Submit mode against stand-ins: the merge job depends on the array; a refused merge job
  // cancels the array rather than leaving it without its page.
  Executable(dir.path() / "bin/sbatch",
             "#!/bin/sh\necho \"$@\" >>" + d +
                 "/sbatch.log\n"
                 "case \"$*\" in *dependency*) [ -n \"$REFUSE\" ] && { echo 'sbatch: error: "
                 "refused' >&2; exit 1; }; echo 42;; *) echo '41;cluster';; esac\n");
  Executable(dir.path() / "bin/scancel", "#!/bin/sh\necho \"$@\" >>" + d + "/scancel.log\n");
  std::string error;
  const std::string path = std::getenv("PATH");
  ::setenv("PATH", (d + "/bin:" + path).c_str(), 1);
  const auto jobs = SubmitArrayScript(request.script, {"-p", "long"}, error);
  ASSERT_TRUE(jobs) << error;
  EXPECT_EQ(jobs->array, "41");
  EXPECT_EQ(jobs->merge, "42");
  const std::string log = ReadFile(dir.path() / "sbatch.log");
  EXPECT_NE(log.find("--parsable -p long " + request.script + "\n"), std::string::npos) << log;
  EXPECT_NE(log.find("--dependency=afterany:41 --job-name=kestra-merge"), std::string::npos);
  EXPECT_NE(log.find("--wrap=exec /bin/sh " + request.script + " merge 41"), std::string::npos);
  ::setenv("REFUSE", "1", 1);
  EXPECT_FALSE(SubmitArrayScript(request.script, {}, error));
  ::unsetenv("REFUSE");
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_NE(error.find("the scheduler refused the jobs: sbatch: error: refused"), std::string::npos)
      << error;
  EXPECT_EQ(ReadFile(dir.path() / "scancel.log"), "41\n");
}

TEST(SlurmJobs, TaskStatesFromSacctAndScontrolAndSbatchArgumentWords) {
  const auto fromSacct =
      ParseTaskStates("7_1|COMPLETED\n7_2|CANCELLED by 0\n7_[3-4]|PENDING\n8_1|FAILED\n", "7");
  EXPECT_EQ(fromSacct, (std::map<std::size_t, std::string>{{1, "COMPLETED"}, {2, "CANCELLED"}}));
  const auto fromScontrol = ParseTaskStates(
      "JobId=9 ArrayJobId=7 ArrayTaskId=3 JobName=x JobState=TIMEOUT Reason=TimeLimit\n"
      "JobId=7 ArrayJobId=7 ArrayTaskId=4-6 JobState=PENDING\n",
      "7");
  EXPECT_EQ(fromScontrol, (std::map<std::size_t, std::string>{{3, "TIMEOUT"}}));
  EXPECT_FALSE(FinalJobState("PENDING"));
  EXPECT_TRUE(FinalJobState("OUT_OF_MEMORY"));

  std::string error;
  const auto words =
      SplitSbatchArguments(R"(-p long --account='my acct' "--comment=a b" x\ y)", error);
  ASSERT_TRUE(words) << error;
  EXPECT_EQ(*words,
            (std::vector<std::string>{"-p", "long", "--account=my acct", "--comment=a b", "x y"}));
  EXPECT_FALSE(SplitSbatchArguments("-p 'long", error));
  EXPECT_EQ(error, "-sbatch-args has an open single quote");
}

TEST(ResultsMerge, MixedResultsAreRefusedTwiceGivenKeepsTheLaterMissingIsUnknown) {
  TempDir dir;
  const fs::path results = WritePlan(dir, "jobs.txt", "/p/a.tak", {"c1", "c2", "c3"});
  WriteText(results / "1.rulex.json", Record("c1", "passed"));
  WriteText(results / "2.rulex.json", "");  // a task that died before writing
  // c1 again, in a later file: the later result counts.
  WriteText(results / "10.rulex.json", Record("c1", "failed"));
  MergeOutcome merged = MergeResults({{results.string()}, "", false});
  ASSERT_EQ(merged.error, "");
  ASSERT_EQ(merged.results.size(), 3u);
  EXPECT_EQ(merged.results[0].verdict, Verdict::Failed);
  ASSERT_EQ(merged.warnings.size(), 1u);
  EXPECT_NE(merged.warnings[0].find("lib/c1 rulex is in " + (results / "1.rulex.json").string() +
                                    " and in " + (results / "10.rulex.json").string() +
                                    ": the later result"),
            std::string::npos)
      << merged.warnings[0];
  EXPECT_EQ(merged.results[1].cell, "c2");
  EXPECT_EQ(merged.results[1].verdict, Verdict::Unknown);
  EXPECT_EQ(merged.results[1].message,
            "no result: " + (results / "2.rulex.json").string() + " is empty");
  EXPECT_EQ(merged.results[2].message.find("no result: "), 0u);
  EXPECT_EQ(merged.title, "/p/a.tak");

  // Another project's results, and another list of the same project, are refused by name.
  const fs::path other = WritePlan(dir, "b.txt", "/p/b.tak", {"c1"});
  WriteText(other / "1.rulex.json", Record("c1", "passed"));
  merged = MergeResults(
      {{(results / "1.rulex.json").string(), (other / "1.rulex.json").string()}, "", false});
  EXPECT_NE(merged.error.find("are results of different projects (/p/a.tak and /p/b.tak)"),
            std::string::npos)
      << merged.error;
  const fs::path again = WritePlan(dir, "c.txt", "/p/a.tak", {"c1"});
  WriteText(again / "1.rulex.json", Record("c1", "passed"));
  merged = MergeResults({{results.string(), again.string()}, "", false});
  EXPECT_NE(merged.error.find("are results of different job lists"), std::string::npos)
      << merged.error;

  // Results of no job list (older files, a run's -json) merge as they are.
  WriteText(dir.path() / "x.json", Record("c9", "passed"));
  WriteText(dir.path() / "y.json", "");
  merged = MergeResults(
      {{(dir.path() / "x.json").string(), (dir.path() / "y.json").string()}, "", false});
  EXPECT_EQ(merged.error, "");
  EXPECT_EQ(merged.results.size(), 1u);
  ASSERT_EQ(merged.warnings.size(), 1u);
  EXPECT_NE(merged.warnings[0].find("y.json: empty: left out"), std::string::npos);
  // A damaged description checks nothing, and says so.
  WriteText(dir.path() / "d.txt.d/plan.json", "{\"kestra_plan\": 1, \"lines\": 7");
  WriteText(dir.path() / "d.txt.d/results/1.rulex.json", Record("c1", "passed"));
  merged = MergeResults({{(dir.path() / "d.txt.d/results").string()}, "", false});
  EXPECT_EQ(merged.results.size(), 1u);
  ASSERT_EQ(merged.warnings.size(), 1u);
  EXPECT_NE(merged.warnings[0].find("plan.json is not a job list's description: the results "
                                    "beside it are merged unchecked"),
            std::string::npos)
      << merged.warnings[0];
}
