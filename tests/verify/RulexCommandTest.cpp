// `kestra verify rulex` as a real child process over a copy of the example project, with the
// stand-in rules checker doing the checking.
#include <gtest/gtest.h>

#include <QProcess>
#include <nlohmann/json.hpp>

#include "DemoProject.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

class RulexCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { projectFile = CopyDemoProject(dir.path()); }

  Result Verify(QStringList words,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QString::fromStdString(dir.str()));
    words.prepend("rulex");
    words.prepend("verify");
    process.start(QStringLiteral(KESTRA_BINARY_DIR "/bin/kestra"), words);
    EXPECT_TRUE(process.waitForFinished(60000)) << "kestra verify did not end";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
  }
  Result VerifyDemo(const QStringList& words) {
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
  const Result clean = VerifyDemo({"-lib", "passives"});
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(clean.out, "View verification passed.  See log file for details.\n");
  EXPECT_NE(clean.err.find("rulex: part res: 0 findings"), std::string::npos) << clean.err;
  EXPECT_NE(clean.err.find("Library : passives"), std::string::npos);

  const Result broken = VerifyDemo({"-lib", "standard", "-cell", "7432"});
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_EQ(broken.out, "View verification failed.  Errors:1 See log file for details.\n");
  EXPECT_EQ(RunFile("rx.dat").substr(0, 16), "\"standard.7432\"\n");

  const Result warned = VerifyDemo({"-lib", "standard", "-cell", "7404"});
  EXPECT_EQ(warned.status, 3) << warned.err;
  EXPECT_EQ(warned.out, "View verification passed.  Warnings:1 See log file for details.\n");

  // A reference library is only found through refqvd.lib.
  const Result reference = VerifyDemo({"-lib", "refparts", "-ref"});
  EXPECT_EQ(reference.status, 0) << reference.out << reference.err;
}

TEST_F(RulexCommandTest, JsonAndRuleSelection) {
  const Result result = VerifyDemo({"-lib", "standard", "-rules", "symbol-name,origin", "-json"});
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
  const Result result = VerifyDemo({"-lib", "old parts", "-cell", "res"});
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
    const Result result = VerifyDemo(words);
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
  const Result missingTool = Verify({"-proj", "demo/demo.tak", "-lib", "passives"}, env);
  EXPECT_EQ(missingTool.status, 2);
  EXPECT_NE(missingTool.err.find("Error in Rule execution, see log file"), std::string::npos)
      << missingTool.err;

  // The run directory cannot be created: reported, the checker does not run.
  std::string project = ReadFile(projectFile);
  project.replace(project.find("rundir './rulex'"), 16, "rundir './blocker/rulex'");
  dir.write("demo/demo.tak", project);
  dir.write("demo/blocker", "a file, not a folder");
  const Result blocked = VerifyDemo({"-lib", "passives", "-json"});
  EXPECT_EQ(blocked.status, 2);
  EXPECT_NE(blocked.err.find("could not be created"), std::string::npos) << blocked.err;
  EXPECT_EQ(nlohmann::json::parse(blocked.out)["verdict"], "unknown");
  EXPECT_EQ(blocked.err.find("rulex: checking"), std::string::npos);
}
