// `kestra verify all` and `kestra report merge` as real child processes over a copy of the
// example project, with the stand-in tools doing the checking.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "DemoProject.h"
#include "PageData.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

class VerifyAllCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { projectFile = CopyDemoProject(dir.path()); }

  ProgramRun Run(const QString& program, const QStringList& words,
                 const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    return RunProgram(program, words, dir.str(), env, 90000);
  }
  ProgramRun Kestra(const QStringList& words,
                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    return Run(KESTRA_PROGRAM, words, env);
  }
  ProgramRun All(const QStringList& words,
                 const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    return Kestra(QStringList{"verify", "all", "-proj", "demo/demo.tak"} + words, env);
  }
  // The verdict of every part and flow of a -json output, by "library/cell flow".
  static std::map<std::string, std::string> Verdicts(const std::string& json) {
    std::map<std::string, std::string> verdicts;
    const auto parsed = nlohmann::json::parse(json);
    for (const auto& part : parsed["parts"]) {
      verdicts[part["library"].get<std::string>() + "/" + part["cell"].get<std::string>() + " " +
               part["flow"].get<std::string>()] =
          part.value("skipped", false) ? "not run" : part["verdict"].get<std::string>();
    }
    return verdicts;
  }
  fs::path Folder() const { return projectFile.parent_path() / "temp" / "verify-all"; }

  TempDir dir;
  fs::path projectFile;
};

}  // namespace

TEST_F(VerifyAllCommandTest, TheMatrixHasTheVerdictsOfSingleFlowRuns) {
  const ProgramRun all =
      All({"-lib", "standard", "-lib", "simcells", "-j", "2", "-json", "-html", "report.html",
           "-junit", "junit.xml", "-template", "demo/templates/site.tpl"});
  const auto verdicts = Verdicts(all.out);
  // Both outputs follow the schemas every flow's outputs follow.
  dir.write("all.json", all.out);
  const ProgramRun valid =
      Run("/usr/bin/python3", {KESTRA_SOURCE_DIR "/tests/verify/validate_outputs.py",
                               KESTRA_SOURCE_DIR, "all.json", "junit.xml"});
  EXPECT_EQ(valid.status, 0) << valid.err;
  const std::string junit = ReadFile(dir.path() / "junit.xml");
  EXPECT_NE(junit.find("<testsuite name=\"simulation\" tests=\"11\" failures=\"1\" errors=\"0\" "
                       "skipped=\"7\" time=\""),
            std::string::npos)
      << junit;
  ASSERT_EQ(verdicts.size(), 44u) << all.err;  // 11 parts, 4 flows
  // A finding names a file that is still there: the kept log, not the job's reused folder.
  int findingFiles = 0;
  const auto output = nlohmann::json::parse(all.out);
  for (const auto& part : output["parts"]) {
    for (const auto& finding : part.value("finding_records", nlohmann::json::array())) {
      if (!finding.contains("file")) continue;
      ++findingFiles;
      EXPECT_TRUE(fs::is_regular_file(finding["file"].get<std::string>())) << finding.dump();
    }
  }
  EXPECT_GT(findingFiles, 0);
  EXPECT_EQ(verdicts.at("standard/7432 rulex"), "failed");
  EXPECT_EQ(verdicts.at("standard/7400 simulation"), "not run");
  EXPECT_EQ(all.status, 1) << all.err;  // failed parts; not run does not count
  for (const auto& [name, verdict] : verdicts) {
    if (verdict == "not run") continue;
    const auto slash = name.find('/');
    const auto blank = name.find(' ');
    const QString library = QString::fromStdString(name.substr(0, slash));
    const QString cell = QString::fromStdString(name.substr(slash + 1, blank - slash - 1));
    const QString flow = QString::fromStdString(name.substr(blank + 1));
    QStringList words = {"verify", flow,    "-proj", "demo/demo.tak", "-lib",
                         library,  "-cell", cell,    "-json"};
    if (flow == "simulation")
      words << "-wrapperview"
            << "verilog"
            << "-default-paths";
    if (flow == "template")
      words << "-template"
            << "demo/templates/site.tpl";
    const ProgramRun single = Kestra(words);
    const auto record = nlohmann::json::parse(single.out);
    EXPECT_EQ(record["verdict"].get<std::string>(), verdict) << name << "\n" << single.err;
  }
  // The page: a row per part, a cell per flow, each verdict a link to its log beside it (the
  // rows as JSON: a cell is [verdict, tooltip, finding codes or 0, log after the logs folder,
  // ...]).
  const std::string page = ReadFile(dir.path() / "report.html");
  const std::string rows = UnpackedPageData(page, "rows");
  EXPECT_NE(rows.find("\"logs\":\"report_logs/\""), std::string::npos);
  const auto row = rows.find(",\"7432\",[");
  ASSERT_NE(row, std::string::npos);
  const auto link = rows.find(",\"", row + 10);
  const auto end = rows.find('"', link + 2);
  EXPECT_TRUE(
      fs::is_regular_file(dir.path() / "report_logs" / rows.substr(link + 2, end - link - 2)));
  EXPECT_NE(page.find("No previous run to compare with."), std::string::npos);
}

TEST_F(VerifyAllCommandTest, WithoutLibEveryLibraryIsCheckedEachAgainstItsOwnTemplate) {
  // Every library of qvd.lib, the rules checker only: each part appears once.
  const ProgramRun all = All({"-flows", "rulex", "-json"});
  ASSERT_NE(all.status, 2) << all.err;
  std::set<std::string> libraries;
  for (const auto& [name, verdict] : Verdicts(all.out))
    libraries.insert(name.substr(0, name.find('/')));
  EXPECT_EQ(libraries,
            (std::set<std::string>{"packs", "passives", "simcells", "standard", "tmplparts"}));
  // -template LIB=FILE for one library, FILE for the others.
  const ProgramRun templates =
      All({"-lib", "tmplparts", "-lib", "passives", "-flows", "template", "-json", "-template",
           "demo/templates/site.tpl", "-template", "passives=nowhere/passives.tpl"});
  const auto verdicts = Verdicts(templates.out);
  ASSERT_FALSE(verdicts.empty()) << templates.err;
  for (const auto& [name, verdict] : verdicts) {
    // The passives' own template does not exist: their checks cannot be made; tmplparts ran.
    if (name.rfind("passives/", 0) == 0)
      EXPECT_EQ(verdict, "unknown") << name;
    else
      EXPECT_NE(verdict, "unknown") << name;
  }
}

TEST_F(VerifyAllCommandTest, ChangedRechecksOnlyChangedPartsAndADamagedHistoryCostsAFullRun) {
  const QStringList words = {"-lib", "simcells", "-flows", "rulex,simulation", "-j", "2"};
  const ProgramRun first = All(words);
  ASSERT_EQ(first.status, 1) << first.err;  // nor2's wrapper lacks a pin

  // Touch nor2, remove buf1: only nor2 is checked again; buf1 is gone from the page.
  std::ofstream(projectFile.parent_path() / "libs/simcells/nor2/sym_1/symbol.sym", std::ios::app)
      << "# touched\n";
  fs::remove_all(projectFile.parent_path() / "libs/simcells/buf1");
  const ProgramRun changed = All(words + QStringList{"-changed", "-html", "page.html"});
  EXPECT_EQ(changed.status, 1) << changed.err;
  EXPECT_NE(changed.err.find("2 checks of changed parts to run, 4 verdicts of unchanged parts "
                             "reused"),
            std::string::npos)
      << changed.err;
  EXPECT_NE(changed.err.find("[2/2] simcells/nor2"), std::string::npos) << changed.err;
  EXPECT_NE(changed.out.find("simcells/and2 rulex: passed: View verification passed.  See log "
                             "file for details. (unchanged: earlier verdict)"),
            std::string::npos)
      << changed.out;
  // nor2 was checked again: its line has no "(unchanged".
  EXPECT_NE(changed.out.find("simcells/nor2 rulex: passed: View verification passed.  See log "
                             "file for details.\n"),
            std::string::npos)
      << changed.out;
  const std::string page = ReadFile(dir.path() / "page.html");
  EXPECT_NE(page.find("<td>removed</td><td>simcells</td><td>buf1</td>"), std::string::npos);

  // A damaged history is ignored with a warning: everything is checked.
  std::ofstream(Folder() / "history.json", std::ios::trunc) << "{\"version\": 1, \"entr";
  const ProgramRun damaged = All(words + QStringList{"-changed"});
  EXPECT_NE(damaged.err.find("is damaged and is ignored"), std::string::npos) << damaged.err;
  EXPECT_NE(damaged.err.find("6 checks of changed parts to run, 0 verdicts"), std::string::npos);
  EXPECT_EQ(damaged.status, 1);
}

// The verdicts do not depend on where the project lies: a project moved elsewhere reuses
// them all, and its logs with them; a touched part is checked again, and only it.
TEST_F(VerifyAllCommandTest, AMovedProjectReusesItsVerdictsUntilAPartChanges) {
  const QStringList words = {"-lib", "standard", "-flows", "rulex,packaging", "-changed"};
  const ProgramRun first = All(words);
  ASSERT_NE(first.err.find("0 verdicts of unchanged parts reused"), std::string::npos) << first.err;
  fs::rename(dir.path() / "demo", dir.path() / "moved");
  const auto runMoved = [&] {
    return Kestra(QStringList{"verify", "all", "-proj", "moved/demo.tak", "-json"} + words);
  };
  const ProgramRun moved = runMoved();
  EXPECT_NE(moved.err.find("0 checks of changed parts to run, 14 verdicts of unchanged parts "
                           "reused"),
            std::string::npos)
      << moved.err;
  // A reused verdict's log and its findings' files are the moved project's own, never the old
  // place's.
  const std::string logs = (dir.path() / "moved/temp/verify-all/logs/").string();
  const nlohmann::json movedResults = nlohmann::json::parse(moved.out);
  for (const auto& part : movedResults["parts"]) {
    std::vector<std::string> files = {part.value("log", "")};
    for (const auto& finding : part.value("finding_records", nlohmann::json::array()))
      files.push_back(finding.value("file", ""));
    for (const std::string& file : files)
      EXPECT_TRUE(file.starts_with(logs) && fs::is_regular_file(file)) << file;
  }

  std::ofstream(dir.path() / "moved/libs/standard/7432/sym_1/symbol.sym", std::ios::app)
      << "# touched\n";
  const ProgramRun touched = runMoved();
  EXPECT_NE(touched.err.find("2 checks of changed parts to run, 12 verdicts"), std::string::npos)
      << touched.err;
  EXPECT_NE(touched.err.find("[2/2] standard/7432"), std::string::npos) << touched.err;
  // A footprint the project's folders hold is the packaging flow's input: every part's
  // packaging is checked again, and no rules check.
  std::ofstream(dir.path() / "moved/footprints/DIP14.psm", std::ios::app) << "# touched\n";
  const ProgramRun footprint = runMoved();
  EXPECT_NE(footprint.err.find("7 checks of changed parts to run, 7 verdicts"), std::string::npos)
      << footprint.err;
  for (int n = 1; n <= 7; ++n) {
    const std::size_t line = footprint.err.find("[" + std::to_string(n) + "/7] standard/");
    ASSERT_NE(line, std::string::npos) << footprint.err;
    const std::string text = footprint.err.substr(line, footprint.err.find('\n', line) - line);
    EXPECT_NE(text.find(" packaging: "), std::string::npos) << text;
  }
}

TEST_F(VerifyAllCommandTest, AHungToolTimesOutAndASecondRunAtOnceIsRefused) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_RULEX_DELAY_MS", "60000");
  const ProgramRun hung =
      All({"-lib", "standard", "-cell", "7400", "-flows", "rulex", "-timeout", "1"}, env);
  EXPECT_EQ(hung.status, 2) << hung.err;
  EXPECT_NE(hung.out.find("standard/7400 rulex: unknown: timed out"), std::string::npos)
      << hung.out;
  // A checker that crashes gives that part "unknown" with the reason; the run goes on.
  dir.write("crash", "#!/bin/sh\nkill -SEGV $$\n");
  fs::permissions(dir.path() / "crash", fs::perms::owner_all);
  QProcessEnvironment crashing = QProcessEnvironment::systemEnvironment();
  crashing.insert("KESTRA_TOOL_RULEX", QString::fromStdString((dir.path() / "crash").string()));
  const ProgramRun crashed =
      All({"-lib", "standard", "-cell", "7400", "-cell", "7432", "-flows", "rulex"}, crashing);
  EXPECT_EQ(crashed.status, 2) << crashed.err;
  EXPECT_NE(crashed.out.find("standard/7432 rulex: unknown: The Rules Checker was ended by signal "
                             "11"),
            std::string::npos)
      << crashed.out;

  // With -changed an unknown verdict is not reused: the part is checked again.
  const ProgramRun again =
      All({"-lib", "standard", "-cell", "7400", "-flows", "rulex", "-changed"});
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_NE(again.err.find("1 checks of changed parts to run, 0 verdicts"), std::string::npos)
      << again.err;
  // No checker is left behind: nothing runs in the run's folders any more.
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
    const std::string command = ReadFile(entry.path() / "cmdline");
    EXPECT_EQ(command.find(Folder().string()), std::string::npos) << command;
  }

  // Somebody else holds the project's run lock.
  const int fd = ::open((Folder() / "lock").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  const ProgramRun second = All({"-lib", "passives", "-flows", "rulex"});
  ::close(fd);
  EXPECT_EQ(second.status, 2);
  EXPECT_NE(second.err.find("another kestra verify all is running on this project"),
            std::string::npos)
      << second.err;
  EXPECT_EQ(second.out, "");
}

// The workers run each job in a long-lived kestra: every result, finding and log name is the
// one a kestra process per job gives; a worker killed under a job costs that part alone.
TEST_F(VerifyAllCommandTest, WorkersGiveTheResultsOfOneProcessPerJobAndSurviveAKilledWorker) {
  // One library keeps the process-per-job run short under the sanitizers.
  const QStringList words = {
      "-lib", "standard", "-j", "2", "-json", "-template", "demo/templates/site.tpl"};
  const auto parts = [](const std::string& out) {
    auto parsed = nlohmann::json::parse(out)["parts"];
    for (auto& part : parsed) part.erase("duration");
    return parsed;
  };
  const ProgramRun workers = All(words);
  const ProgramRun processes = All(words + QStringList{"-process-per-job"});
  EXPECT_EQ(workers.status, processes.status) << workers.err;
  const auto inWorkers = parts(workers.out);
  EXPECT_EQ(inWorkers, parts(processes.out));
  EXPECT_EQ(inWorkers.size(), 28u);
  EXPECT_NE(workers.out.find("\"findings\""), std::string::npos);

  // A tool that kills the kestra that started it: a worker under the workers, the job's own
  // kestra process otherwise. Each part is unknown, naming the signal; every part gets a result.
  dir.write("killer", "#!/bin/sh\nkill -KILL $PPID\nsleep 5\n");
  fs::permissions(dir.path() / "killer", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_TOOL_RULEX", QString::fromStdString((dir.path() / "killer").string()));
  for (const QString& how : {QString("-j"), QString("-process-per-job")}) {
    QStringList killed = {"-lib", "standard", "-flows", "rulex,packaging", how};
    if (how == "-j") killed << "1";
    const ProgramRun run = All(killed, env);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.out.find("standard/7400 rulex: unknown: kestra verify rulex gave no result "
                           "(signal 9 (Killed)"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("standard/7432 rulex: unknown: kestra verify rulex gave no result "
                           "(signal 9 (Killed)"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("standard/7432 packaging: passed"), std::string::npos) << run.out;
  }
}

// A worker's jobs take turns in the scratch folders of its places: a job whose tool writes no
// report never reads one an earlier part left there, and what a tool left in the folder (the
// project copy made a link to another file) is replaced, never written through.
TEST_F(VerifyAllCommandTest, AJobInAReusedScratchFolderReadsOnlyItsOwnReports) {
  const fs::path victim = dir.write("victim", "precious");
  const std::string link = "ln -sf " + victim.string() + " ";
  // The stand-in tools for 7400; for every other part tools that write no report.
  const fs::path rulex = dir.write("rulex",
                                   "#!/bin/sh\nproject=$(dirname \"$2\")\n"
                                   "grep -q '\\.7400\"' \"$project/rulex/rx.dat\" && exec " +
                                       STAND_IN_TOOL("rulex").toStdString() + " \"$@\"\n" + link +
                                       "\"$project/demo.tak\"\n");
  const fs::path cellpack =
      dir.write("cellpack", "#!/bin/sh\ncase \" $* \" in *\" 7400 \"*) exec " KESTRA_BINARY_DIR
                            "/tools/libutil/cellpack \"$@\";; esac\n" +
                                link + "../demo.tak\n");
  for (const fs::path& tool : {rulex, cellpack}) fs::permissions(tool, fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_TOOL_RULEX", QString::fromStdString(rulex.string()));
  env.insert("KESTRA_TOOL_LIBKIT", QString::fromStdString(cellpack.string()));
  const QStringList words = {"-lib", "standard", "-flows", "rulex,packaging", "-j", "1"};
  const ProgramRun reused = All(words, env);
  const ProgramRun real = All(words);
  // 7400 passes both checks; the others' reports are missing: the checker's verdict is
  // unknown, the packager's failed.
  std::istringstream lines(reused.out);
  std::size_t others = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("standard/7400 ", 0) == 0) {
      EXPECT_NE(real.out.find(line + "\n"), std::string::npos) << line;
    } else {
      const bool rulexLine = line.find(" rulex: ") != std::string::npos;
      EXPECT_NE(line.find(rulexLine ? " rulex: unknown: " : " packaging: failed: "),
                std::string::npos)
          << line;
      ++others;
    }
  }
  EXPECT_EQ(others, 12u) << reused.out;
  EXPECT_EQ(ReadFile(victim), "precious");
  for (const auto& entry : fs::directory_iterator(Folder() / "jobs"))
    EXPECT_EQ(entry.path().extension(), ".log") << "no scratch folder stays: " << entry.path();
}

TEST_F(VerifyAllCommandTest, TheJobListRunsWithXargsAndMergesIntoTheSameVerdicts) {
  const QStringList words = {"-lib", "standard", "-flows", "rulex,packaging,simulation,template"};
  const ProgramRun plan = All(words + QStringList{"-plan", "jobs.txt"});
  ASSERT_EQ(plan.status, 0) << plan.err;
  EXPECT_NE(plan.out.find("(14 jobs, 14 not run)"), std::string::npos) << plan.out;
  const ProgramRun xargs =
      Run("/bin/sh", {"-c", "xargs -d '\\n' -P 2 -n 1 sh -c < jobs.txt; exit 0"});
  ASSERT_EQ(xargs.status, 0) << xargs.err;
  const ProgramRun merged =
      Run("/bin/sh", {"-c", KESTRA_BINARY_DIR "/bin/kestra report merge jobs.txt.d/results/*.json "
                                              "-html merged.html -json"});
  EXPECT_EQ(merged.status, 1) << merged.err;
  const ProgramRun direct = All(words + QStringList{"-json"});
  EXPECT_EQ(Verdicts(merged.out), Verdicts(direct.out));
  EXPECT_EQ(Verdicts(merged.out).size(), 28u);
  EXPECT_NE(merged.out.find("\"cause\": \"not run: no template given\""), std::string::npos);
  const std::string page = ReadFile(dir.path() / "merged.html");
  EXPECT_NE(UnpackedPageData(page, "rows").find(",[2,"), std::string::npos);  // a failed cell
  EXPECT_TRUE(fs::is_directory(dir.path() / "merged_logs"));
}

// A chunked job list: each line, run alone by sh as an array task runs it, checks several parts
// and leaves their results where the merge finds them. -ref checks the reference libraries.
TEST_F(VerifyAllCommandTest, ChunkedJobListLinesCheckManyPartsAndRefChecksTheReferenceLibraries) {
  const QStringList words = {"-lib", "standard", "-flows", "rulex,packaging,simulation"};
  const ProgramRun plan = All(words + QStringList{"-plan", "jobs.txt", "-chunk", "3"});
  ASSERT_EQ(plan.status, 0) << plan.err;
  EXPECT_NE(plan.out.find("(14 jobs, 7 not run; 3 lines of up to 3 parts)"), std::string::npos)
      << plan.out;
  const ProgramRun lines = Run(
      "/bin/sh", {"-c", "while IFS= read -r line; do sh -c \"$line\" || exit 1; done < jobs.txt"});
  ASSERT_EQ(lines.status, 0) << lines.err;
  const ProgramRun merged =
      Run("/bin/sh", {"-c", KESTRA_BINARY_DIR "/bin/kestra report merge jobs.txt.d/results/*.json "
                                              "-json"});
  const ProgramRun direct = All(words + QStringList{"-json"});
  EXPECT_EQ(Verdicts(merged.out), Verdicts(direct.out));
  EXPECT_EQ(Verdicts(merged.out).size(), 21u);
  const ProgramRun loose = All({"-chunk", "2"});
  EXPECT_EQ(loose.status, 2);
  EXPECT_NE(loose.err.find("-chunk groups the lines of a job list"), std::string::npos);

  const ProgramRun ref = All({"-ref", "-json", "-template", "demo/templates/site.tpl"});
  const auto verdicts = Verdicts(ref.out);
  EXPECT_EQ(verdicts.size(), 8u) << ref.out;
  EXPECT_EQ(verdicts.at("refparts/74ls74 rulex"), "passed");
  EXPECT_EQ(verdicts.at("refparts/74ls74 packaging"), "not run");
  EXPECT_NE(verdicts.at("refparts/lm358 template"), "not run");
  EXPECT_NE(ref.out.find("kestra verify simulation does not check reference libraries"),
            std::string::npos);
}

// The attack's cases on the run's own files: links planted where the run writes (its history,
// a job's result and error files, the page), FIFOs where it reads or writes, a damaged
// history, a results file naming a secret as its log, a part named like an option.
TEST_F(VerifyAllCommandTest, PlantedLinksFifosAndHostileInputsNeitherHangLeakNorCrash) {
  const fs::path victim = dir.write("victim", "precious");
  // Jobs are numbered from 0 in the run's jobs/ folder.
  fs::create_directories(Folder() / "jobs");
  fs::create_directories(Folder() / "logs");
  fs::create_symlink(victim, Folder() / "history.json.new");
  fs::create_symlink(victim, Folder() / "jobs/0.json");
  fs::create_symlink(victim, Folder() / "jobs/0.err");
  fs::create_symlink(victim, dir.path() / "page.html.new");
  ASSERT_EQ(::mkfifo((Folder() / "history.json").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((dir.path() / "junit.xml").c_str(), 0600), 0);
  const QStringList words = {"-lib", "standard", "-cell", "7400", "-flows", "rulex"};
  const ProgramRun planted = All(words + QStringList{"-html", "page.html", "-junit", "junit.xml"});
  EXPECT_EQ(planted.status, 0) << planted.err;
  EXPECT_NE(planted.err.find("is damaged and is ignored"), std::string::npos) << planted.err;
  EXPECT_EQ(ReadFile(victim), "precious");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Folder() / "history.json")));
  EXPECT_NE(ReadFile(dir.path() / "junit.xml").find("<testsuites"), std::string::npos);
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().string().find(".new-"), std::string::npos) << "nothing partial stays";

  // A history damaged in its types, then one nested without end: a warning, never a crash.
  for (const std::string& damage : {std::string(R"({"version":"1","entries":[]})"),
                                    "{\"version\":1,\"entries\":" + std::string(100000, '[') +
                                        std::string(100000, ']') + "}"}) {
    std::ofstream(Folder() / "history.json", std::ios::trunc) << damage;
    const ProgramRun damaged = All(words + QStringList{"-changed"});
    EXPECT_EQ(damaged.status, 0) << damaged.err;
    EXPECT_NE(damaged.err.find("is damaged and is ignored"), std::string::npos) << damaged.err;
  }

  // A job folder in the way is named with the system's reason, not blamed on the program.
  fs::create_directory(Folder() / "jobs/0.json");
  fs::create_symlink(victim, Folder() / "jobs/0.err");
  const ProgramRun blocked = All(words);
  EXPECT_NE(blocked.out.find("jobs/0.json: Is a directory)"), std::string::npos) << blocked.out;
  EXPECT_EQ(blocked.status, 2);
  EXPECT_EQ(blocked.out.find("precious"), std::string::npos)
      << "a job that never ran reads nothing";
  fs::remove(Folder() / "jobs/0.json");

  // A part named like an option is a part in every job: checked where the tool takes the
  // name, refused with the reason where it cannot.
  const fs::path standard = projectFile.parent_path() / "libs/standard";
  fs::copy(standard / "7400", standard / "--help", fs::copy_options::recursive);
  const ProgramRun option =
      All({"-lib", "standard", "-cell", "--help", "-flows", "rulex,packaging"});
  EXPECT_EQ(option.status, 2) << option.err;
  EXPECT_NE(option.out.find("standard/--help rulex: passed"), std::string::npos) << option.out;
  EXPECT_NE(option.out.find("standard/--help packaging: unknown: Unable to run checks: the part "
                            "\"--help\" cannot be passed to the packaging tools"),
            std::string::npos)
      << option.out;

  // A results file that names a secret as its log: merged without publishing it.
  dir.write("results.json", R"({"flow":"rulex","library":"standard","cell":"7400",)"
                            R"("verdict":"passed","log":")" +
                                victim.string() + "\"}");
  const ProgramRun merged = Kestra({"report", "merge", "results.json", "-html", "merged.html"});
  EXPECT_EQ(merged.status, 0) << merged.err;
  EXPECT_NE(merged.err.find("is left out: it lies outside the results' folders"), std::string::npos)
      << merged.err;
  EXPECT_EQ(ReadFile(dir.path() / "merged.html").find("precious"), std::string::npos);
  std::error_code none;
  for (const auto& entry : fs::recursive_directory_iterator(dir.path() / "merged_logs", none))
    EXPECT_NE(ReadFile(entry.path()), "precious") << entry.path();
}
