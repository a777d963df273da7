// The pieces of kestra verify all without the flows: the job runner on real child processes,
// the history, the lock, the changes between runs, the page's escaping and the job list's
// shell words.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>
#include <tuple>

#include "PageData.h"
#include "TempDir.h"
#include "verify/VerifyAllLock.h"
#include "verify/all/history/RunHistory.h"
#include "verify/all/history/RunLock.h"
#include "verify/all/jobs/JobCommands.h"
#include "verify/all/jobs/JobRunner.h"
#include "verify/all/jobs/ResultFile.h"
#include "verify/all/jobs/WorkerPool.h"
#include "verify/all/page/PackedText.h"
#include "verify/all/page/ReportPage.h"
#include "verify/all/page/RunChanges.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

VerifyResult Result(const std::string& cell, const std::string& flow, Verdict verdict) {
  VerifyResult result = FlowResult(flow, "lib", cell);
  result.verdict = verdict;
  result.message = VerdictName(verdict);
  return result;
}

bool ProcessAlive(pid_t pid) { return ::kill(pid, 0) == 0; }

}  // namespace

TEST(JobRunner, RunsJobsAtOnceAndStopsAHungJobWithEverythingItStarted) {
  TempDir dir;
  const std::string sleeper = (dir.path() / "sleeper.pid").string();
  // Job 0 exits 3, job 1 is killed by a signal, job 2 hangs with a child of its own (which
  // writes its pid), job 3 names no program that exists.
  const std::vector<std::vector<std::string>> commands = {
      {"/bin/sh", "-c", "echo out; echo err >&2; exit 3"},
      {"/bin/sh", "-c", "kill -9 $$"},
      {"/bin/sh", "-c", "sleep 60 & echo $! > " + sleeper + "; wait"},
      {dir.str() + "/no-such-program"}};
  std::vector<JobEnd> ends(commands.size());
  std::vector<std::size_t> order;
  JobRunner runner(2, 1500ms, 500ms);
  runner.Run(
      commands.size(),
      [&](std::size_t i) {
        const std::string stem = dir.str() + "/" + std::to_string(i);
        return JobCommand{commands[i], stem + ".out", stem + ".err"};
      },
      [&](std::size_t i, const JobEnd& end) {
        ends[i] = end;
        order.push_back(i);
      });
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(ends[0].how, JobEnd::How::Exited);
  EXPECT_EQ(ends[0].code, 3);
  EXPECT_EQ(ReadFile(dir.path() / "0.out"), "out\n");
  EXPECT_EQ(ReadFile(dir.path() / "0.err"), "err\n");
  EXPECT_EQ(DescribeJobEnd(ends[1]), "signal 9 (Killed)");
  EXPECT_EQ(ends[2].how, JobEnd::How::TimedOut);
  EXPECT_EQ(DescribeJobEnd(ends[2]), "timed out");
  EXPECT_EQ(ends[3].how, JobEnd::How::NotStarted);
  EXPECT_NE(ends[3].reason.find("no-such-program"), std::string::npos);
  // The hung job's own child went with it.
  const pid_t child = std::stoi(ReadFile(sleeper));
  for (int i = 0; i < 100 && ProcessAlive(child); ++i) std::this_thread::sleep_for(20ms);
  EXPECT_FALSE(ProcessAlive(child));
  EXPECT_EQ(order.back(), 2u);  // the others did not wait for the hung one
}

// The pool with a shell worker speaking the workers' protocol: a job line in, "done STATUS"
// out; a job line naming "hang" never answers, one naming "die" kills its worker.
TEST(WorkerPool, AHungOrDeadWorkerEndsItsJobAloneAndAFreshWorkerTakesTheNext) {
  TempDir dir;
  dir.write("worker",
            "#!/bin/sh\nwhile read -r line; do\n  case \"$line\" in\n"
            "  *hang*) sleep 60 ;;\n  *die*) kill -9 $$ ;;\n  esac\n"
            "  echo \"done 3\"\ndone\n");
  fs::permissions(dir.path() / "worker", fs::perms::owner_all);
  const std::vector<std::string> words = {"ok", "hang", "die", "ok", "ok"};
  std::vector<JobEnd> ends(words.size());
  std::size_t count = 0;
  const auto run = [&](const std::string& program) {
    count = 0;
    WorkerPool pool({program}, dir.str() + "/", 2, 1000ms, 300ms);
    pool.Run(
        words.size(),
        [&](std::size_t i) {
          return JobCommand{{"kestra", words[i]}, "o", "e"};
        },
        [&](std::size_t i, const JobEnd& end) {
          ends[i] = end;
          ++count;
        });
  };
  run(dir.str() + "/worker");
  ASSERT_EQ(count, words.size());
  for (std::size_t i : {0u, 3u, 4u}) {
    EXPECT_EQ(ends[i].how, JobEnd::How::Exited) << i;
    EXPECT_EQ(ends[i].code, 3) << i;
  }
  EXPECT_EQ(ends[1].how, JobEnd::How::TimedOut);
  EXPECT_EQ(DescribeJobEnd(ends[2]), "signal 9 (Killed)");
  EXPECT_TRUE(fs::exists(dir.path() / "worker-3.log"));  // the dead workers were replaced

  run(dir.str() + "/no-such-worker");
  ASSERT_EQ(count, words.size());
  EXPECT_EQ(ends[4].how, JobEnd::How::NotStarted);
  EXPECT_NE(ends[4].reason.find("no-such-worker"), std::string::npos) << ends[4].reason;
}

TEST(JobRunner, AnInterruptStopsTheRunningJobAndStartsNoOther) {
  TempDir dir;
  std::vector<JobEnd> ends;
  JobRunner runner(1, 60s, 500ms);
  std::thread interrupt([] {
    std::this_thread::sleep_for(300ms);
    ::kill(::getpid(), SIGINT);
  });
  runner.Run(
      3,
      [&](std::size_t i) {
        const std::string stem = dir.str() + "/" + std::to_string(i);
        return JobCommand{{"/bin/sleep", "30"}, stem + ".out", stem + ".err"};
      },
      [&](std::size_t, const JobEnd& end) { ends.push_back(end); });
  interrupt.join();
  EXPECT_EQ(runner.StopSignal(), SIGINT);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].how, JobEnd::How::Stopped);
}

TEST(RunHistory, KeepsVerdictsAndIgnoresADamagedFile) {
  TempDir dir;
  const std::string file = (dir.path() / "history.json").string();
  std::string warning;
  EXPECT_TRUE(RunHistory::Load(file, warning).Empty());
  EXPECT_EQ(warning, "");

  RunHistory history;
  VerifyResult failed = Result("7432", "rulex", Verdict::Failed);
  failed.counts = {{"errors", 1}, {"total", std::nullopt}};
  history.Put({"abc", failed});
  history.Put({"def", Result("7400", "packaging", Verdict::PassedWithWarnings)});
  std::string error;
  ASSERT_TRUE(history.Save(file, error)) << error;
  const RunHistory read = RunHistory::Load(file, warning);
  EXPECT_EQ(warning, "");
  ASSERT_EQ(read.Size(), 2u);
  const HistoryEntry* entry = read.Find("lib", "7432", "rulex");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->hash, "abc");
  EXPECT_EQ(entry->result.verdict, Verdict::Failed);
  EXPECT_EQ(entry->result.counts, failed.counts);
  EXPECT_EQ(read.Find("lib", "7432", "packaging"), nullptr);

  for (const std::string damage : {"{\"version\":1,\"entries\":[{\"hash\":1}]}", "{trunc", ""}) {
    std::ofstream(file, std::ios::trunc) << damage;
    warning.clear();
    EXPECT_TRUE(RunHistory::Load(file, warning).Empty()) << damage;
    EXPECT_NE(warning.find("is damaged and is ignored"), std::string::npos) << damage;
  }
}

TEST(ResultFile, FindingsDurationAndNotRunGoThroughJobFilesAndHistory) {
  VerifyResult failed = Result("7432", "rulex", Verdict::Failed);
  failed.duration = 0.5;
  Finding finding;
  finding.rule = "prop_present";
  finding.severity = Severity::Fatal;
  finding.part = "7432";
  finding.object = "7432_DIP14";
  finding.message = "7432_DIP14 lacks property PART_NAME";
  finding.file = "/p/rx.msg";
  finding.line = 7;
  failed.findings = {finding, finding};
  failed.findingsTruncated = true;
  VerifyResult skipped = Result("7400", "template", Verdict::Unknown);
  skipped.notRun = true;
  skipped.cause = "not run: no template given";

  std::string error;
  const auto read = ParseResultsJson(ResultRecordJson(failed), error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->front().findings, failed.findings);
  EXPECT_TRUE(read->front().findingsTruncated);
  EXPECT_EQ(read->front().duration, 0.5);
  const auto notRun = ParseResultsJson(ResultRecordJson(skipped), error);
  ASSERT_TRUE(notRun) << error;
  EXPECT_TRUE(notRun->front().notRun);
  EXPECT_EQ(notRun->front().cause, skipped.cause);

  // A job file of the first schema: its findings are messages alone.
  const auto old = ParseResultsJson(
      R"({"flow":"footprint","library":"f","cell":"SO8","verdict":"failed","message":"m",)"
      R"("log":"","counts":{},"findings":["line 4: pitch needs a number above 0", 3]})",
      error);
  ASSERT_TRUE(old) << error;
  ASSERT_EQ(old->front().findings.size(), 1u);
  EXPECT_EQ(old->front().findings[0].message, "line 4: pitch needs a number above 0");
  EXPECT_EQ(old->front().findings[0].part, "SO8");

  TempDir dir;
  const std::string file = (dir.path() / "history.json").string();
  RunHistory history;
  history.Put({"abc", failed});
  ASSERT_TRUE(history.Save(file, error)) << error;
  std::string warning;
  const RunHistory loaded = RunHistory::Load(file, warning);
  const HistoryEntry* entry = loaded.Find("lib", "7432", "rulex");
  ASSERT_NE(entry, nullptr) << warning;
  EXPECT_EQ(entry->result.findings, failed.findings);
  // Saved entry by entry, the file reads as one dump of the whole history.
  history.Refer("def", skipped);  // this run's verdict, not copied
  EXPECT_EQ(history.Find("lib", "7400", "template"), nullptr);
  ASSERT_TRUE(history.Save(file, error)) << error;
  // One JSON text with a verdict a line, the typed findings only (not their messages again).
  const std::string text = ReadFile(file);
  EXPECT_EQ(nlohmann::json::parse(text)["entries"].size(), 2u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
  EXPECT_EQ(text.find("\"findings\""), std::string::npos);
  EXPECT_EQ(RunHistory::Load(file, warning).Size(), 2u) << warning;
}

// A history the first release wrote (an indented dump of -json records, logs by their absolute
// paths) is read as it is; an entry's log that is not in the run's logs folder is dropped.
TEST(RunHistory, AFirstVersionHistoryIsReadAndLogsAreFoundOnlyInTheRunsFolder) {
  TempDir dir;
  const std::string file = (dir.path() / "history.json").string();
  VerifyResult kept = Result("7432", "rulex", Verdict::Failed);
  kept.log = (dir.path() / "logs/0123.rulex.log").string();
  Finding finding;
  finding.rule = "prop_present";
  finding.message = "7432_DIP14 lacks property PART_NAME";
  finding.file = "/p/rx.msg";
  kept.findings = {finding, finding};
  kept.findings[1].part = "7432A";
  VerifyResult elsewhere = Result("7400", "rulex", Verdict::Passed);
  elsewhere.log = "/etc/passwd";
  nlohmann::json old = {{"version", 1}, {"entries", nlohmann::json::array()}};
  for (const VerifyResult& result : {kept, elsewhere})
    old["entries"].push_back(
        {{"hash", "h"}, {"result", nlohmann::json::parse(ResultRecordJson(result))}});
  std::ofstream(file) << old.dump(1) << "\n";
  std::string warning;
  RunHistory read = RunHistory::Load(file, warning);
  ASSERT_EQ(read.Size(), 2u) << warning;
  EXPECT_NE(warning.find("is of an earlier release: its verdicts are compared"), std::string::npos);
  EXPECT_EQ(read.Find("lib", "7432", "rulex")->hash, "") << "never reused";
  EXPECT_EQ(read.Find("lib", "7432", "rulex")->result.log, kept.log);
  EXPECT_EQ(read.Find("lib", "7432", "rulex")->result.findings, kept.findings);
  EXPECT_EQ(read.Find("lib", "7400", "rulex")->result.log, "");

  // Saved, the log is named from the history's folder: the same file where the folder moved.
  std::string error;
  ASSERT_TRUE(read.Save(file, error)) << error;
  EXPECT_NE(ReadFile(file).find("\"log\":\"logs/0123.rulex.log\""), std::string::npos);
  fs::create_directory(dir.path() / "moved");
  fs::rename(file, dir.path() / "moved/history.json");
  read = RunHistory::Load((dir.path() / "moved/history.json").string(), warning);
  EXPECT_EQ(read.Find("lib", "7432", "rulex")->result.log,
            (dir.path() / "moved/logs/0123.rulex.log").string());
  // The file the findings share is named once, their two parts each; they read back whole.
  EXPECT_EQ(read.Find("lib", "7432", "rulex")->result.findings, kept.findings);
  const std::string text = ReadFile(dir.path() / "moved/history.json");
  EXPECT_NE(text.find("\"findings_file\":\"/p/rx.msg\""), std::string::npos) << text;
  EXPECT_EQ(text.find("\"file\""), std::string::npos) << text;
  EXPECT_EQ(text.find("findings_part"), std::string::npos) << text;

  // Read a piece at a time up to the limit given: beyond it, refused as any damage is.
  const auto size = fs::file_size(dir.path() / "moved/history.json");
  EXPECT_EQ(RunHistory::Load((dir.path() / "moved/history.json").string(), warning, size).Size(),
            2u);
  EXPECT_TRUE(
      RunHistory::Load((dir.path() / "moved/history.json").string(), warning, size - 1).Empty());
  EXPECT_NE(warning.find("larger than"), std::string::npos) << warning;
  EXPECT_EQ(RunHistory::ReadLimit(1000), RunHistory::ReadLimit(0));
  EXPECT_EQ(RunHistory::ReadLimit(100000), 100000 * RunHistory::kReadLimitPerJob);
}

TEST(RunLock, ASecondRunOnTheProjectIsRefusedUntilTheFirstEnds) {
  TempDir dir;
  const std::string file = (dir.path() / "lock").string();
  std::string error;
  EXPECT_FALSE(RunLockHeld(file)) << "no lock file yet";
  {
    auto first = RunLock::Take(file, error);
    ASSERT_TRUE(first) << error;
    EXPECT_TRUE(RunLockHeld(file)) << "what a packaging run asks";
    EXPECT_FALSE(RunLock::Take(file, error));
    EXPECT_NE(error.find("another kestra verify all is running on this project"),
              std::string::npos);
  }
  EXPECT_FALSE(RunLockHeld(file));
  EXPECT_TRUE(RunLock::Take(file, error)) << error;
  // A FIFO in the lock's place neither blocks the question nor counts as a run.
  ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(RunLockHeld((dir.path() / "fifo").string()));
}

// Damaged, hostile and special files where the history and the results files should be: each
// is refused with a reason, quickly, without a crash and without reading for ever.
TEST(AttackedInputs, DamagedHistoriesAndResultsAreRefusedNeverFollowed) {
  TempDir dir;
  const std::string history = (dir.path() / "history.json").string();
  const std::string deepHistory =
      "{\"version\":1,\"entries\":" + std::string(100000, '[') + std::string(100000, ']') + "}";
  for (const std::string& damage :
       {std::string(R"({"version":"1","entries":[]})"),
        std::string(R"({"version":1,"entries":[{"hash":"h","result":{"flow":"rulex",)"
                    R"("verdict":"passed","skipped":1,"counts":[1],"findings":"x"}}]})"),
        std::string(R"({"version":1,"entries":{"hash":"h"}})"), deepHistory}) {
    std::ofstream(history, std::ios::trunc) << damage;
    std::string warning;
    const RunHistory read = RunHistory::Load(history, warning);
    if (damage.find("skipped") != std::string::npos) {
      // Wrong types of the optional fields are passed over, not fatal.
      EXPECT_EQ(read.Size(), 1u) << warning;
      continue;
    }
    EXPECT_TRUE(read.Empty()) << damage.substr(0, 60);
    EXPECT_NE(warning.find("is damaged and is ignored"), std::string::npos) << damage.substr(0, 60);
  }
  fs::remove(history);
  ASSERT_EQ(::mkfifo(history.c_str(), 0600), 0);
  std::string warning;
  EXPECT_TRUE(RunHistory::Load(history, warning).Empty());
  EXPECT_NE(warning.find("not a regular file"), std::string::npos) << warning;
  fs::remove(history);
  fs::create_symlink("/dev/zero", history);
  warning.clear();
  EXPECT_TRUE(RunHistory::Load(history, warning).Empty());
  EXPECT_NE(warning.find("is damaged and is ignored"), std::string::npos) << warning;

  // A value of the wrong type where a text belongs reads as absent, and never throws.
  std::string error;
  const auto odd = ParseResultsJson(R"({"flow":["rulex"],"verdict":"passed","log":7})", error);
  ASSERT_TRUE(odd) << error;
  EXPECT_EQ(odd->front().flow, "");
  for (const std::string& bad : {std::string(R"({"flow":"rulex","verdict":"passed","parts":"x"})"),
                                 std::string(R"({"flow":"rulex","verdict":1})"),
                                 std::string(R"({"parts":{"flow":"rulex"}})"),
                                 std::string(200000, '[') + std::string(200000, ']')}) {
    error.clear();
    EXPECT_FALSE(ParseResultsJson(bad, error)) << bad.substr(0, 60);
    EXPECT_FALSE(error.empty()) << bad.substr(0, 60);
  }
  EXPECT_FALSE(ReadResultsJson(history, error)) << "a device is not read";
  EXPECT_FALSE(ReadResultsJson((dir.path() / "missing.json").string(), error));
  EXPECT_NE(error.find("missing.json"), std::string::npos) << error;
}

TEST(RunChanges, NewFailuresComeFirstThenFixesChangesAdditionsAndRemovals) {
  const std::vector<VerifyResult> before = {
      Result("a", "rulex", Verdict::Passed), Result("b", "rulex", Verdict::Failed),
      Result("c", "rulex", Verdict::Passed), Result("gone", "rulex", Verdict::Passed),
      Result("same", "rulex", Verdict::Failed)};
  VerifyResult skipped = Result("c", "rulex", Verdict::Unknown);
  skipped.notRun = true;
  const std::vector<VerifyResult> after = {
      Result("new", "rulex", Verdict::Passed), Result("b", "rulex", Verdict::Passed),
      Result("a", "rulex", Verdict::Unknown), skipped, Result("same", "rulex", Verdict::Failed)};
  const auto changes = ChangesSince(before, after);
  ASSERT_EQ(changes.size(), 5u);
  EXPECT_EQ(changes[0].cell, "a");
  EXPECT_EQ(changes[0].kind, VerdictChange::Kind::NewFailure);
  EXPECT_EQ(changes[1].cell, "b");
  EXPECT_EQ(changes[1].kind, VerdictChange::Kind::Fixed);
  EXPECT_EQ(changes[2].after, "not run");
  EXPECT_EQ(changes[3].kind, VerdictChange::Kind::Added);
  EXPECT_EQ(changes[4].cell, "gone");
  EXPECT_EQ(changes[4].kind, VerdictChange::Kind::Removed);
  EXPECT_TRUE(ChangesSince({}, after).empty());  // a first run has nothing to compare with
}

TEST(ReportPage, NamesAreEscapedAndLinksEncoded) {
  TempDir dir;
  ReportPageData data;
  data.title = "<b>project</b>";
  data.flows = {"rulex", "packaging"};
  VerifyResult result = Result("<script>alert(1)</script>", "rulex", Verdict::Failed);
  result.message = "it's \"bad\" & wrong\\";
  data.cells.push_back({result, "my #1 logs/x.log", false});
  data.cells.push_back({Result("b", "rulex", Verdict::Passed), "my #1 logs/b.log", true});
  data.cells.push_back({Result("b", "packaging", Verdict::Passed), "", false});
  const std::string file = (dir.path() / "page.html").string();
  std::string error;
  ASSERT_TRUE(WriteReportPage(data, file, error)) << error;
  const std::string page = ReadFile(file);
  EXPECT_EQ(page.find("<script>alert"), std::string::npos);
  EXPECT_NE(page.find("&lt;b&gt;project&lt;/b&gt;"), std::string::npos);
  // The matrix rows travel as packed JSON inside a script element: nothing in a name can end
  // it, and the JSON is safe even unpacked.
  const std::string rows = UnpackedPageData(page, "rows");
  EXPECT_NE(rows.find(R"(\u003cscript\u003ealert(1)\u003c/script\u003e)"), std::string::npos);
  EXPECT_NE(rows.find(R"("texts":["it's \"bad\" \u0026 wrong\\","passed"])"), std::string::npos);
  EXPECT_NE(rows.find(R"("logs":"my%20%231%20logs/")"), std::string::npos);
  // Each row: library index, part, per flow [verdict, tooltip, finding codes or 0, log, reused]
  // (the last ones left out while they are 0 or "") or 0 for none.
  EXPECT_NE(rows.find(R"([0,"b",[0,1,0,"b.log",1],[0,1]])"), std::string::npos);
  EXPECT_NE(rows.find(R"(,[2,0,0,"x.log"],0])"), std::string::npos);
  EXPECT_EQ(page.find("://"), std::string::npos);  // nothing is fetched from anywhere
}

TEST(ReportPage, PackedDataReadsBackWithAnyInflater) {
  // Empty, tiny, incompressible, runs longer than a match, distances at the window's edge.
  std::string noise;
  for (unsigned i = 1; noise.size() < 70000; i = i * 1103515245u + 12345u)
    noise += static_cast<char>(i >> 23);
  const std::string window = noise.substr(0, 32768);
  for (const std::string& text : {std::string(), std::string("a"), std::string(1000, 'x'), noise,
                                  window + "abc" + window, std::string("\0\x01<\xff>", 5)}) {
    EXPECT_EQ(Unpacked(PackedText(text)), text) << text.size() << " bytes";
  }
  EXPECT_EQ(Base64Text("ab"), "YWI=");
  EXPECT_LT(PackedText(std::string(100000, 'x')).size(), 1000u);

  // Findings sit in packed blocks of cells (rows in name order); a finding's texts are
  // JSON-escaped within them, control characters made printable.
  TempDir dir;
  ReportPageData data;
  data.flows = {"rulex"};
  for (int i = 0; i < 1500; ++i) {
    VerifyResult result = Result("p" + std::to_string(i), "rulex", Verdict::Failed);
    Finding finding;
    finding.rule = "prop_present";
    finding.object = "PIN\"1\"";
    finding.message = "p" + std::to_string(i) + " lacks </script> & \x01";
    result.findings = {finding};
    data.cells.push_back({result, "", false});
  }
  const std::string file = (dir.path() / "page.html").string();
  std::string error;
  ASSERT_TRUE(WriteReportPage(data, file, error)) << error;
  const std::string page = ReadFile(file);
  EXPECT_EQ(page.find("</script> &"), std::string::npos);
  const std::string findings = UnpackedPageData(page, "findings");
  EXPECT_NE(
      findings.find(R"([[2,0,"PIN\"1\"","p999 lacks \u003c/script\u003e \u0026 \\x01",-1,0]]])"),
      std::string::npos);
  EXPECT_EQ(std::count(findings.begin(), findings.end(), '\n'), 1500 - 1) << "two blocks";
}

namespace {

// The numbers of one row of a counts table of the page, as "w x y z n".
std::string CountsRow(const std::string& page, const std::string& table, const std::string& row) {
  const std::size_t start = page.find("<table id=\"" + table + "\"");
  const std::size_t at = page.find("<tr><td>" + row + "</td>", start);
  if (start == std::string::npos || at == std::string::npos) return "<none>";
  std::string numbers;
  for (std::size_t cell = page.find("class=\"num\">", at); cell < page.find("</tr>", at);
       cell = page.find("class=\"num\">", cell + 1)) {
    const std::size_t begin = cell + 12;
    numbers += (numbers.empty() ? "" : " ") + page.substr(begin, page.find('<', begin) - begin);
  }
  return numbers;
}

}  // namespace

TEST(ReportPage, PerLibraryCountsPartsByTheirWorstVerdict) {
  TempDir dir;
  ReportPageData data;
  data.flows = {"rulex", "template", "packaging"};
  // Three parts over three flows: a is failed (one flow of three), b passed with warnings,
  // c has no flow that applies to it.
  for (const auto& [cell, flow, verdict] :
       std::vector<std::tuple<std::string, std::string, Verdict>>{
           {"a", "rulex", Verdict::Passed},
           {"a", "template", Verdict::Failed},
           {"a", "packaging", Verdict::Passed},
           {"b", "rulex", Verdict::PassedWithWarnings},
           {"b", "template", Verdict::Passed}})
    data.cells.push_back({Result(cell, flow, verdict), "", false});
  VerifyResult notRun = Result("c", "packaging", Verdict::Unknown);
  notRun.notRun = true;
  data.cells.push_back({notRun, "", false});
  const std::string file = (dir.path() / "page.html").string();
  std::string error;
  ASSERT_TRUE(WriteReportPage(data, file, error)) << error;
  const std::string page = ReadFile(file);
  // Columns: passed, passed with warnings, failed, unknown, not run.
  EXPECT_EQ(CountsRow(page, "perlibrary", "lib"), "0 1 1 0 1") << "three parts";
  EXPECT_NE(page.find("Parts, each counted once by its worst verdict"), std::string::npos);
  EXPECT_EQ(CountsRow(page, "perlibraryflow", "lib / template"), "1 0 1 0 0") << "checks";
  EXPECT_EQ(CountsRow(page, "perflow", "rulex"), "1 1 0 0 0");
}

TEST(JobCommands, ShellWordsReachTheProgramIntact) {
  TempDir dir;
  const std::vector<std::string> words = {"plain", "two words", "it's", "$HOME", "a\"b", "*"};
  std::vector<std::string> arguments = {"/usr/bin/printf", "%s\\n"};
  arguments.insert(arguments.end(), words.begin(), words.end());
  const std::string out = (dir.path() / "out").string();
  const std::string line = JobShellLine(arguments, out, (dir.path() / "err").string());
  ASSERT_EQ(std::system(("/bin/sh -c " + ShellWord(line)).c_str()), 0) << line;
  EXPECT_EQ(ReadFile(out), "plain\ntwo words\nit's\n$HOME\na\"b\n*\n");
}
