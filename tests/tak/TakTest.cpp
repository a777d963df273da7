// tak as a librarian runs it: usage, parse, format, get, explain and set.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "TempDir.h"

namespace {

struct TakRun {
  int status = -1;
  std::string out;  // standard output and error together
};

// Runs build/bin/tak with arguments (already quoted for the shell) and the test's setup tree.
TakRun Tak(const std::string& arguments) {
  TakRun run;
  const std::string command = std::string(KESTRA_BINARY_DIR "/bin/tak ") + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer{};
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class TakTool : public testing::Test {
 protected:
  void SetUp() override {
    saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("QSF_SEARCH_PATH", (dir.str() + "/share").c_str(), 1);
    setenv("TMPDIR", (dir.str() + "/tmp").c_str(), 1);
    std::filesystem::create_directories(dir.path() / "tmp");
    dir.write("share/qvdsetup/projmgr/qvd.tak",
              "START_GLOBAL\ntext_editor vi\nEND_GLOBAL\n"
              "START_GLOBAL_CONTROL_SETTINGS\ntext_editor lock\nEND_GLOBAL_CONTROL_SETTINGS\n");
    project = dir.write("p.tak", "START_GLOBAL\ntext_editor emacs\nlibrary a 'b c'\nEND_GLOBAL\n")
                  .string();
  }
  void TearDown() override {
    if (saved.empty())
      unsetenv("TMPDIR");
    else
      setenv("TMPDIR", saved.c_str(), 1);
  }
  TempDir dir;
  std::string project;
  std::string saved;
};

TEST_F(TakTool, UsageAndBadUsage) {
  const TakRun help = Tak("-help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("tak set PROGRAM DIRECTIVE VALUE... -proj FILE"), std::string::npos);
  EXPECT_EQ(Tak("").status, 2);
  EXPECT_EQ(Tak("frobnicate x").status, 2);
  EXPECT_EQ(Tak("parse").status, 2);
  EXPECT_EQ(Tak("parse x -level 7").status, 2);
  EXPECT_EQ(Tak("get GLOBAL x").status, 2);  // no -proj
  EXPECT_EQ(Tak("set GLOBAL -proj p").status, 2);
}

TEST_F(TakTool, ParseAndFormatTheExample) {
  const std::string example = KESTRA_SOURCE_DIR "/tests/projectfile/golden/example.tak";
  const TakRun parse = Tak("parse " + example);
  EXPECT_EQ(parse.status, 0);
  EXPECT_NE(parse.out.find("\"result\": 0"), std::string::npos);
  EXPECT_NE(parse.out.find("\"name\": \"DESIGN_NAME\""), std::string::npos);
  EXPECT_NE(parse.out.find("\"doubleQuoted\": 1"), std::string::npos);
  const TakRun format = Tak("format " + example);
  EXPECT_EQ(format.status, 0);
  EXPECT_EQ(format.out, ReadFile(KESTRA_SOURCE_DIR "/tests/projectfile/golden/example.expected"));
  const auto bad = dir.write("bad.tak", "stray\n");
  const TakRun failed = Tak("parse " + bad.string());
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.out.find("\"result\": -1"), std::string::npos);
  EXPECT_NE(failed.out.find("does not fall in"), std::string::npos);
  EXPECT_EQ(Tak("format " + bad.string()).status, 1);
}

TEST_F(TakTool, GetExplainAndSet) {
  const TakRun get = Tak("get GLOBAL text_editor -proj " + project);
  EXPECT_EQ(get.status, 0);
  EXPECT_EQ(get.out, "vi\n");
  const std::string log = ReadFile(dir.path() / "tmp/tak.log");
  EXPECT_EQ(log.rfind("Information", 0), 0u);
  EXPECT_NE(log.find("in \"" + project + "\""), std::string::npos);
  EXPECT_EQ(Tak("get GLOBAL library -proj " + project).out, "a\nb c\n");
  EXPECT_EQ(Tak("get GLOBAL nothing -proj " + project).status, 1);

  const TakRun explain = Tak("explain GLOBAL text_editor -proj " + project);
  EXPECT_EQ(explain.status, 0);
  EXPECT_NE(explain.out.find("winning level: 0 (qvd.tak)"), std::string::npos) << explain.out;
  EXPECT_NE(explain.out.find("refused " + project + ": locked by qvd.tak;"), std::string::npos)
      << explain.out;

  EXPECT_EQ(Tak("set GLOBAL design_name top 'x y' -proj " + project).status, 0);
  EXPECT_EQ(Tak("get GLOBAL design_name -proj " + project).out, "top\nx y\n");
  const std::string before = ReadFile(project);
  const TakRun refused = Tak("set GLOBAL text_editor nano -proj " + project);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("cannot be modified because of the following control settings"),
            std::string::npos);
  EXPECT_EQ(ReadFile(project), before);

  // While another process holds a shared lock longer than set waits, set fails with the lock
  // note, nothing written.
  ASSERT_EQ(Tak("set GLOBAL x y -proj " + project).status, 0);
  const std::string held = "flock -s " + project +
                           " sleep 3 & sleep 0.5; " KESTRA_BINARY_DIR
                           "/bin/tak set GLOBAL x z -proj " +
                           project + " -wait 1 2>&1; echo status=$?";
  FILE* pipe = popen(held.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  std::array<char, 4096> buffer{};
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), got);
  pclose(pipe);
  EXPECT_NE(out.find("has a lock on the tak file"), std::string::npos) << out;
  EXPECT_NE(out.find("status=1"), std::string::npos);
  EXPECT_EQ(Tak("get GLOBAL x -proj " + project).out, "y\n");
}

}  // namespace
