// `kestra verify rulex` as a real child process over a copy of the example project, with the
// stand-in rules checker doing the checking.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QThread>
#include <nlohmann/json.hpp>
#include <sstream>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

// A process that has not ended (a zombie waiting for its new parent has ended).
bool Running(pid_t pid) {
  const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
  const auto close = stat.rfind(')');
  return close != std::string::npos && stat.size() > close + 2 && stat[close + 2] != 'Z';
}

class RulexCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { projectFile = CopyDemoProject(dir.path()); }

  ProgramRun Verify(QStringList words,
                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    return Kestra(QStringList{"verify", "rulex"} + words, env);
  }
  ProgramRun Kestra(const QStringList& words,
                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    return RunProgram(KESTRA_PROGRAM, words, dir.str(), env);
  }
  ProgramRun VerifyDemo(const QStringList& words) {
    return Verify(QStringList{"-proj", "demo/demo.tak"} + words);
  }
  std::string RunFile(const std::string& name) {
    return ReadFile(projectFile.parent_path() / "rulex" / name);
  }

  TempDir dir;
  fs::path projectFile;
};

}  // namespace

TEST_F(RulexCommandTest, VerdictsAndExitStatuses) {
  const ProgramRun clean = VerifyDemo({"-lib", "passives"});
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(clean.out, "View verification passed.  See log file for details.\n");
  EXPECT_NE(clean.err.find("rulex: part res: 0 findings"), std::string::npos) << clean.err;
  EXPECT_NE(clean.err.find("Library : passives"), std::string::npos);

  const ProgramRun broken = VerifyDemo({"-lib", "standard", "-cell", "7432"});
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_EQ(broken.out, "View verification failed.  Errors:1 See log file for details.\n");
  EXPECT_EQ(RunFile("rx.dat").substr(0, 16), "\"standard.7432\"\n");

  const ProgramRun warned = VerifyDemo({"-lib", "standard", "-cell", "7404"});
  EXPECT_EQ(warned.status, 3) << warned.err;
  EXPECT_EQ(warned.out, "View verification passed.  Warnings:1 See log file for details.\n");

  // A reference library is only found through refqvd.lib.
  const ProgramRun reference = VerifyDemo({"-lib", "refparts", "-ref"});
  EXPECT_EQ(reference.status, 0) << reference.out << reference.err;
}

TEST_F(RulexCommandTest, JsonAndRuleSelection) {
  const ProgramRun result =
      VerifyDemo({"-lib", "standard", "-rules", "symbol-name,origin", "-json"});
  EXPECT_EQ(result.status, 1) << result.err;
  const nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["flow"], "rulex");
  EXPECT_EQ(json["library"], "standard");
  EXPECT_EQ(json["cell"], "");
  EXPECT_EQ(json["verdict"], "failed");
  EXPECT_EQ(json["counts"]["warnings"], 1);  // 7404's origin
  EXPECT_EQ(json["counts"]["errors"], 1);    // 7486's symbol name
  EXPECT_EQ(json["counts"]["total"], 2);
  EXPECT_EQ(json["message"],
            "View verification failed.  Warnings:1 Errors:1 See log file for details.");
  const fs::path log = json["log"].get<std::string>();
  EXPECT_TRUE(fs::equivalent(log, projectFile.parent_path() / "rulex" / "rx.msg"));
  EXPECT_TRUE(RunFile("rx.dat").find("mldrules.rle  origin_non_centered "
                                     "body_file_namechipsprt_cross_check\n") != std::string::npos)
      << RunFile("rx.dat");
}

TEST_F(RulexCommandTest, NamesWithBlanksReachTheChecker) {
  dir.write("demo/qvd.lib",
            ReadFile(projectFile.parent_path() / "qvd.lib") + "\"old parts\" libs/passives\n");
  const ProgramRun result = VerifyDemo({"-lib", "old parts", "-cell", "res"});
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  EXPECT_EQ(RunFile("rx.dat").substr(0, 17), "\"old%20parts.res\"");
}

TEST_F(RulexCommandTest, RunsThatCannotBeMadeExitWithTwo) {
  const std::vector<QStringList> bad = {
      {"-lib", "standard", "-rules", "origin,nonsense"},
      {"-lib"},
      {"-cell", "7400"},
      {"-lib", "no_such_library"},
      {"-lib", "standard", "-bogus", "x"},
  };
  for (const QStringList& words : bad) {
    const ProgramRun result = VerifyDemo(words);
    EXPECT_EQ(result.status, 2) << words.join(' ').toStdString();
    EXPECT_EQ(result.out, "") << words.join(' ').toStdString();
    EXPECT_FALSE(result.err.empty());
  }
  EXPECT_EQ(Verify({"-proj", "missing.tak", "-lib", "standard"}).status, 2);
  EXPECT_EQ(Verify({}).status, 2);
  EXPECT_FALSE(fs::exists(projectFile.parent_path() / "rulex")) << "nothing was run";

  // A checker that cannot be started leaves no log: status unknown, and no dialog waits.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_TOOL_RULEX", "/nonexistent/rulex");
  const ProgramRun missingTool = Verify({"-proj", "demo/demo.tak", "-lib", "passives"}, env);
  EXPECT_EQ(missingTool.status, 2);
  EXPECT_NE(missingTool.err.find("Error in Rule execution, see log file"), std::string::npos)
      << missingTool.err;

  // The run directory cannot be created: reported, the checker does not run.
  std::string project = ReadFile(projectFile);
  project.replace(project.find("rundir './rulex'"), 16, "rundir './blocker/rulex'");
  dir.write("demo/demo.tak", project);
  dir.write("demo/blocker", "a file, not a folder");
  const ProgramRun blocked = VerifyDemo({"-lib", "passives", "-json"});
  EXPECT_EQ(blocked.status, 2);
  EXPECT_NE(blocked.err.find("could not be created"), std::string::npos) << blocked.err;
  EXPECT_EQ(nlohmann::json::parse(blocked.out)["verdict"], "unknown");
  EXPECT_EQ(blocked.err.find("rulex: checking"), std::string::npos);
}

TEST_F(RulexCommandTest, ALockedLibraryListIsNotedAndTheRunGoesOn) {
  // A site file that locks GLOBAL "library": the temporary project keeps the site's list, the
  // checker runs anyway, and standard error names the directive and the log.
  dir.write("setup/qvdsetup/projmgr/site.tak",
            "START_GLOBAL\nlibrary 'passives'\nEND_GLOBAL\n"
            "START_GLOBAL_CONTROL_SETTINGS\nlibrary lock\nEND_GLOBAL_CONTROL_SETTINGS\n");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QSF_SEARCH_PATH",
             QString::fromStdString(dir.str() + "/setup:" KESTRA_BINARY_DIR "/share"));
  const ProgramRun locked = Verify({"-proj", "demo/demo.tak", "-lib", "standard"}, env);
  // The checker ran on the locked list, which does not name standard: its own fatal error.
  EXPECT_EQ(locked.status, 1) << locked.err;
  EXPECT_NE(locked.out.find("Fatal:1"), std::string::npos) << locked.out;
  EXPECT_NE(locked.err.find("directive \"GLOBAL:library\""), std::string::npos) << locked.err;
  EXPECT_NE(locked.err.find("tak.log"), std::string::npos) << locked.err;
  EXPECT_EQ(locked.err.find("updation failed"), std::string::npos) << locked.err;
  // Without the lock nothing is noted.
  EXPECT_EQ(VerifyDemo({"-lib", "passives"}).err.find("control settings"), std::string::npos);
}

TEST_F(RulexCommandTest, FlowListHelpAndLibraryKinds) {
  const ProgramRun list = Kestra({"verify"});
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("\n  rulex "), std::string::npos) << list.out;
  EXPECT_EQ(Kestra({"verify", "nosuch"}).status, 2);
  for (const char* help : {"-help", "--help", "-h"}) {
    const ProgramRun usage = Verify({help});
    EXPECT_EQ(usage.status, 0) << help;
    EXPECT_EQ(usage.out.rfind("usage: kestra verify rulex -proj FILE -lib LIB", 0), 0u)
        << usage.out;
  }
  EXPECT_NE(Kestra({"-help"}).out.find("FLOW is one of: rulex"), std::string::npos);
  // A library of the other list is a usage error that names the option to use.
  const ProgramRun noRef = VerifyDemo({"-lib", "refparts"});
  EXPECT_EQ(noRef.status, 2);
  EXPECT_NE(noRef.err.find("add -ref"), std::string::npos) << noRef.err;
  EXPECT_NE(VerifyDemo({"-lib", "passives", "-ref"}).err.find("leave out -ref"), std::string::npos);
  EXPECT_FALSE(fs::exists(projectFile.parent_path() / "rulex")) << "nothing was run";
}

TEST_F(RulexCommandTest, JsonAndJUnitFollowTheirSchemas) {
  for (const QStringList& part :
       {QStringList{"-lib", "standard", "-cell", "7432"}, QStringList{"-lib", "passives"}}) {
    const std::string junit = dir.str() + "/out.xml";
    const ProgramRun result =
        VerifyDemo(part + QStringList{"-json", "-junit", QString::fromStdString(junit)});
    dir.write("out.json", result.out);
    QProcess validator;
    validator.start(
        "/usr/bin/python3",
        {KESTRA_SOURCE_DIR "/tests/verify/validate_outputs.py", KESTRA_SOURCE_DIR,
         QString::fromStdString(dir.str() + "/out.json"), QString::fromStdString(junit)});
    ASSERT_TRUE(validator.waitForFinished(30000));
    EXPECT_EQ(validator.exitCode(), 0) << validator.readAllStandardError().toStdString();
    const std::string xml = ReadFile(junit);
    EXPECT_EQ(xml.find("<failure") != std::string::npos, result.status == 1) << xml;
  }
}

TEST_F(RulexCommandTest, InterruptStopsTheCheckerWithItsProcessGroup) {
  // A checker that runs until it is stopped, with a child in its process group.
  const std::string pids = dir.str() + "/pids";
  dir.write("slow-rulex",
            "#!/bin/sh\nexec " KESTRA_BINARY_DIR "/tools/bin/progress-long '" + pids + "'\n");
  fs::permissions(dir.path() / "slow-rulex", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_TOOL_RULEX", QString::fromStdString(dir.str() + "/slow-rulex"));
  // SIGKILL leaves kestra no say: the watcher beside the checker ends the group.
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
    fs::remove(pids);
    QProcess kestra;
    kestra.setProcessEnvironment(env);
    kestra.setWorkingDirectory(QString::fromStdString(dir.str()));
    kestra.start(KESTRA_BINARY_DIR "/bin/kestra",
                 {"verify", "rulex", "-proj", "demo/demo.tak", "-lib", "passives"});
    for (int i = 0; i < 200 && ReadFile(pids).find('\n') == std::string::npos; ++i)
      QThread::msleep(25);
    std::istringstream ids(ReadFile(pids));
    pid_t tool = 0, child = 0;
    ASSERT_TRUE(ids >> tool >> child) << "the checker did not start";
    ::kill(static_cast<pid_t>(kestra.processId()), signal);
    ASSERT_TRUE(kestra.waitForFinished(20000));
    EXPECT_EQ(kestra.exitStatus(), QProcess::CrashExit) << "ends as the signal ends a program";
    for (pid_t pid : {tool, child}) {
      bool gone = false;
      for (int i = 0; i < 200 && !gone; ++i, QThread::msleep(25)) gone = !Running(pid);
      EXPECT_TRUE(gone) << "process " << pid << " outlived kestra verify (signal " << signal << ")";
    }
  }
}

TEST_F(RulexCommandTest, HostileNamesLinksAndCrashesGiveNoFalseVerdict) {
  // Links planted where the run writes its files are replaced, never followed.
  const fs::path demo = projectFile.parent_path();
  dir.write("victim", "precious");
  fs::create_directories(demo / "rulex");
  fs::create_symlink(dir.path() / "victim", demo / "demo_tmp.tak");
  fs::create_symlink(dir.path() / "victim", demo / "rulex" / "rx.dat");
  EXPECT_EQ(VerifyDemo({"-lib", "passives"}).status, 0);
  EXPECT_EQ(ReadFile(dir.path() / "victim"), "precious");
  EXPECT_FALSE(fs::is_symlink(demo / "demo_tmp.tak"));

  // A cell name that would split the checker's input is refused before anything is written
  // (no part of the library has such a name), and shown without its line break.
  fs::remove(demo / "rulex" / "rx.dat");
  const ProgramRun newline = VerifyDemo({"-lib", "standard", "-cell", "7400\n\"x.y\""});
  EXPECT_EQ(newline.status, 2);
  EXPECT_NE(newline.err.find("library standard has no part 7400\\x0a\"x.y\""), std::string::npos)
      << newline.err;
  EXPECT_FALSE(fs::exists(demo / "rulex" / "rx.dat"));

  // A checker that writes a passing log and then crashes has no verdict.
  dir.write("crashing-rulex",
            "#!/bin/sh\n" KESTRA_BINARY_DIR "/tools/bin/rulex \"$@\"\nkill -SEGV $$\n");
  fs::permissions(dir.path() / "crashing-rulex", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_TOOL_RULEX", QString::fromStdString(dir.str() + "/crashing-rulex"));
  const ProgramRun crashed = Verify({"-proj", "demo/demo.tak", "-lib", "passives", "-json"}, env);
  EXPECT_EQ(crashed.status, 2) << crashed.err;
  EXPECT_NE(crashed.err.find("ended by signal 11"), std::string::npos) << crashed.err;
  EXPECT_EQ(nlohmann::json::parse(crashed.out)["verdict"], "unknown");
  EXPECT_NE(RunFile("rx.msg").find("TOTAL"), std::string::npos) << "its log did say passed";
}
