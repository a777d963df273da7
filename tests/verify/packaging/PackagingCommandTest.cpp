// `kestra verify packaging` as a real child process over a copy of the example project, with
// the stand-in packaging tools doing the checking.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <QProcess>
#include <QThread>
#include <fstream>
#include <nlohmann/json.hpp>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

class PackagingCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    projectFile = CopyDemoProject(dir.path());
    projectDir = projectFile.parent_path();
  }

  ProgramRun Verify(const QStringList& words,
                    QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
    env.remove("Instantiation_Packaging_Validation_Type");
    return RunProgram(KESTRA_PROGRAM,
                      QStringList{"verify", "packaging", "-proj", "demo/demo.tak"} + words,
                      dir.str(), env, 120000);
  }

  TempDir dir;
  fs::path projectFile;
  fs::path projectDir;
};

constexpr const char* kPacksReport =
    "74hc00: Instantiation and packaging checks PASSED, see log file for details\n"
    "lm393: Instantiation and packaging checks PASSED, see log file for details\n"
    "mux2: Instantiation and packaging checks FAILED, see log file for details\n"
    "my relay: Instantiation and packaging checks PASSED, see log file for details\n"
    "ne555: Inst. and packaging checks PASSED but some warnings are reported in the log file\n";

}  // namespace

TEST_F(PackagingCommandTest, RunsAndVerdicts) {
  const ProgramRun library = Verify({"-lib", "packs"});
  EXPECT_EQ(library.status, 1) << library.err;
  EXPECT_EQ(library.out, "Instantiation and packaging checks FAILED, see log file for details\n");
  EXPECT_NE(library.err.find("cellpack: part mux2: failed"), std::string::npos) << library.err;

  const ProgramRun warned = Verify({"-lib", "packs", "-cell", "ne555", "-cell", "74hc00"});
  EXPECT_EQ(warned.status, 3) << warned.err;
  EXPECT_NE(warned.err.find("Library : packs, Parts : Multiple"), std::string::npos);

  // Up to the board: the diode's footprint DO35 has no .psm on the project's search path.
  const ProgramRun board = Verify({"-lib", "passives", "-netrev"});
  EXPECT_EQ(board.status, 1) << board.err;
  EXPECT_NE(ReadFile(projectDir / "temp_ftb_test/ftb.rep").find("footprint DO35"),
            std::string::npos);

  // Without a PSMPATH the search path comes from the layout setup library of the install.
  std::string project = ReadFile(projectFile);
  project.erase(project.find("PSMPATH"), project.find("END_PAVREL") - project.find("PSMPATH"));
  std::ofstream(projectFile) << project;
  const ProgramRun setup = Verify({"-lib", "packs", "-cell", "lm393", "-netrev"});
  EXPECT_EQ(setup.status, 0) << setup.err;
  EXPECT_NE(
      ReadFile(projectDir / "temp_ftb_test/ftb.rep").find("share/pavrel/footprints/SOIC8.psm"),
      std::string::npos);

  const ProgramRun consistency = Verify({"-lib", "packs", "-cell", "mux2", "-consistency"});
  EXPECT_EQ(consistency.status, 1) << consistency.err;
  EXPECT_EQ(consistency.out,
            "Consistency check of packs, part mux2: 1 parts checked, 1 inconsistent. FAILED \n");
}

TEST_F(PackagingCommandTest, UpToTheBoardPinNumbersMustBePadsOfTheFootprint) {
  // ne555 has pins 1 to 6 on DIP8: with pads 1 to 8 implied by "pads 8" it passes.
  const ProgramRun implied = Verify({"-lib", "packs", "-cell", "ne555", "-netrev"});
  EXPECT_NE(implied.status, 1) << implied.err;
  // Pads listed: 5 is missing (a pin without a pad), 7, 8 and EP are used by no pin.
  std::ofstream(projectDir / "footprints/DIP8.psm")
      << "footprint DIP8\npads 8\npitch 100\npad 1 0 0\npad 2 0 100\npad 3 0 200\n"
         "pad 4 0 300\npad 6 300 200\npad 7 300 100\npad 8 300 0\npad EP 150 150\n"
         "padpart EP 150 160\npad - 150 300\n";
  const ProgramRun listed = Verify({"-lib", "packs", "-cell", "ne555", "-netrev"});
  EXPECT_EQ(listed.status, 1) << listed.err;
  const std::string log = ReadFile(projectDir / "temp_ftb_test/ftb.rep");
  EXPECT_NE(log.find("ERROR: part ne555: netrev ne555_DIP8: pin VCC (number 5) has no pad in "
                     "footprint DIP8"),
            std::string::npos)
      << log;
  for (const char* pad : {"7", "8", "EP"})
    EXPECT_NE(log.find(std::string("WARNING: part ne555: netrev ne555_DIP8: pad ") + pad +
                       " of footprint DIP8 is used by no pin"),
              std::string::npos)
        << pad << "\n"
        << log;
  EXPECT_EQ(log.find("pad 6 of"), std::string::npos) << log;
}

TEST_F(PackagingCommandTest, ReportInParallelGivesTheSequentialVerdicts) {
  const ProgramRun sequential = Verify({"-lib", "packs", "-report", "-j", "1"});
  EXPECT_EQ(sequential.status, 1) << sequential.err;
  EXPECT_EQ(sequential.out, kPacksReport);
  const std::string mux2Log = ReadFile(projectDir / "temp/mux2.log");
  fs::remove_all(projectDir / "temp");

  const fs::path junit = dir.path() / "packs.xml";
  const ProgramRun parallel = Verify(
      {"-lib", "packs", "-report", "-j", "2", "-junit", QString::fromStdString(junit.string())});
  EXPECT_EQ(parallel.status, 1) << parallel.err;
  EXPECT_EQ(parallel.out, kPacksReport);
  EXPECT_EQ(ReadFile(projectDir / "temp/mux2.log"), mux2Log) << "the same per-part files";
  EXPECT_TRUE(fs::exists(projectDir / "temp/my%20relay.stat"));
  EXPECT_TRUE(fs::exists(projectDir / "temp_ftb_test_2")) << "a scratch directory per running part";
  const std::string xml = ReadFile(junit);
  EXPECT_NE(xml.find("tests=\"5\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("name=\"my relay\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("<failure"), std::string::npos) << xml;

  const ProgramRun json = Verify({"-lib", "packs", "-report", "-j", "3", "-json"});
  const nlohmann::json parsed = nlohmann::json::parse(json.out);
  ASSERT_EQ(parsed["parts"].size(), 5u) << json.out;
  EXPECT_EQ(parsed["parts"][2]["cell"], "mux2");
  EXPECT_EQ(parsed["parts"][2]["verdict"], "failed");
  EXPECT_EQ(parsed["parts"][4]["verdict"], "passed with warnings");
}

TEST_F(PackagingCommandTest, BadInputIsToldClearly) {
  const ProgramRun noJobs = Verify({"-lib", "packs", "-report", "-j", "0"});
  EXPECT_EQ(noJobs.status, 2);
  EXPECT_NE(noJobs.err.find("-j needs a number"), std::string::npos) << noJobs.err;
  const ProgramRun noLibrary = Verify({"-lib", "nosuch"});
  EXPECT_EQ(noLibrary.status, 2) << noLibrary.out;
  EXPECT_NE(noLibrary.err.find("no library nosuch"), std::string::npos) << noLibrary.err;
  const ProgramRun noPart = Verify({"-lib", "packs", "-cell", "7400"});
  EXPECT_EQ(noPart.status, 2);
  EXPECT_NE(noPart.err.find("library packs has no part 7400"), std::string::npos) << noPart.err;
  fs::create_directories(projectDir / "libs/empty");
  std::ofstream(projectDir / "qvd.lib", std::ios::app) << "empty libs/empty\n";
  const ProgramRun empty = Verify({"-lib", "empty", "-report"});
  EXPECT_EQ(empty.status, 2);
  EXPECT_NE(empty.err.find("The library empty has no parts to verify"), std::string::npos)
      << empty.err;
}

// Processes other than except whose working directory is below folder (the tools of an interrupted
// run; kestra itself, passed as except, may be in a scratch folder for a moment while it
// starts a tool).
int ProcessesWorkingIn(const fs::path& folder, qint64 except = 0) {
  int count = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    if (entry.path().filename() == std::to_string(except)) continue;
    std::error_code linkError;
    const fs::path cwd = fs::read_symlink(entry.path() / "cwd", linkError);
    if (!linkError && cwd.string().rfind(folder.string(), 0) == 0) ++count;
  }
  return count;
}

TEST_F(PackagingCommandTest, InterruptStopsEveryRunningTool) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_CELLPACK_CPU_MS", "20000");
  QProcess process;
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(QString::fromStdString(dir.str()));
  process.start(
      QStringLiteral(KESTRA_BINARY_DIR "/bin/kestra"),
      {"verify", "packaging", "-proj", "demo/demo.tak", "-lib", "packs", "-report", "-j", "2"});
  ASSERT_TRUE(process.waitForStarted());
  // Both slots run a tool once their scratch directories hold a running cellpack.
  const qint64 kestra = process.processId();
  for (int i = 0; i < 200 && ProcessesWorkingIn(projectDir, kestra) < 2; ++i) QThread::msleep(50);
  EXPECT_GE(ProcessesWorkingIn(projectDir, kestra), 2);
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(20000));
  EXPECT_EQ(process.exitStatus(), QProcess::CrashExit) << "ends as the signal would end it";
  EXPECT_EQ(ProcessesWorkingIn(projectDir), 0) << "no tool is left running";
  EXPECT_FALSE(fs::exists(projectDir / "temp/ne555.stat")) << "no further part started";
}

// The attack's cases: parts named like options, a packager killed after writing passing
// reports (one run and parallel per-part runs), a `kestra verify all` holding the project, and
// what other programs keep in temp/.
TEST_F(PackagingCommandTest, HostileNamesKilledToolsAndOtherRunsFilesAreRespected) {
  const fs::path packs = projectDir / "libs/packs";
  fs::copy(packs / "lm393", packs / "-sim", fs::copy_options::recursive);
  const ProgramRun dashed = Verify({"-lib", "packs", "-cell", "-sim"});
  EXPECT_EQ(dashed.status, 2) << dashed.err;
  EXPECT_NE(dashed.err.find("the part \"-sim\" cannot be passed to the packaging tools: it "
                            "begins with '-'"),
            std::string::npos)
      << dashed.err;
  EXPECT_FALSE(fs::exists(projectDir / "temp_ftb_test"));
  EXPECT_EQ(Verify({"-lib", "packs", "-report"}).status, 2) << "every part is named to the tool";
  EXPECT_EQ(Verify({"-lib", "packs", "-cell", "-sim", "-consistency"}).status, 2);
  fs::remove_all(packs / "-sim");

  // A running `kestra verify all` holds the project: nothing is written, the run waits.
  fs::create_directories(projectDir / "temp/verify-all");
  std::ofstream(projectDir / "temp/verify-all/history.json") << "{}";
  std::ofstream(projectDir / "temp/pavrel_verify.txt") << "kept";
  const int lock = ::open((projectDir / "temp/verify-all/lock").c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(lock, 0);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);
  const ProgramRun locked = Verify({"-lib", "packs", "-cell", "lm393", "-ptf"});
  ::close(lock);
  EXPECT_EQ(locked.status, 2);
  EXPECT_NE(locked.err.find("A kestra verify all is running on this project"), std::string::npos)
      << locked.err;
  EXPECT_FALSE(fs::exists(projectDir / "temp/ptf.txt"));
  // Once it has ended, a run takes only its own files.
  const ProgramRun after = Verify({"-lib", "packs", "-cell", "lm393", "-ptf"});
  EXPECT_EQ(after.status, 0) << after.err;
  EXPECT_EQ(ReadFile(projectDir / "temp/verify-all/history.json"), "{}");
  EXPECT_TRUE(fs::exists(projectDir / "temp/verify-all/lock"));
  EXPECT_EQ(ReadFile(projectDir / "temp/pavrel_verify.txt"), "kept");
  EXPECT_TRUE(fs::exists(projectDir / "temp/ptf.txt"));

  dir.write("killed-cellpack",
            "#!/bin/sh\n" KESTRA_BINARY_DIR "/tools/libutil/cellpack \"$@\"\nkill -KILL $$\n");
  fs::permissions(dir.path() / "killed-cellpack", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_TOOL_LIBKIT", QString::fromStdString(dir.str() + "/killed-cellpack"));
  const ProgramRun killed = Verify({"-lib", "packs", "-cell", "lm393"}, env);
  EXPECT_EQ(killed.status, 2) << killed.err;
  EXPECT_EQ(killed.out,
            "Unable to determine pass/fail status of Instantiation and Packaging checks: "
            "cellpack was ended by signal 9 (Killed)\n");
  EXPECT_NE(ReadFile(projectDir / "temp_ftb_test/status.rep").find("PASSED"), std::string::npos)
      << "its report did say passed";
  const ProgramRun parts = Verify(
      {"-lib", "packs", "-cell", "lm393", "-cell", "74hc00", "-report", "-j", "2", "-json"}, env);
  EXPECT_EQ(parts.status, 2) << parts.err;
  // The parsed report must outlive the loop: a range over a member of a temporary dangles.
  const nlohmann::json report = nlohmann::json::parse(parts.out);
  ASSERT_TRUE(report.contains("parts")) << parts.out;
  EXPECT_FALSE(report["parts"].empty()) << parts.out;
  for (const auto& part : report["parts"]) {
    EXPECT_EQ(part["verdict"], "unknown") << part;
    EXPECT_NE(part["cause"].get<std::string>().find("ended by signal 9"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(projectDir / "temp/lm393.stat")) << "no report of a killed run stays";
}
