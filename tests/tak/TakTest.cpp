// tak as a librarian runs it: usage, parse, format, get, explain and set.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "CSpiFile.h"
#include "CSpiProgramList.h"
#include "SpiLastMessage.h"
#include "SpiReader.h"
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

// The report as a whole document, built the way tak built it before it wrote while walking.
std::string ReportDocument(const std::string& path, int level) {
  CSpiProgramList programs;
  CSpiFile file;
  SpiSetLastMessage("");
  const int result = file.Open(path) == 0 ? SpiReadFile(programs, file, level) : -1;
  auto strings = [](const SpiValueView& view) {
    return std::vector<std::string>(view.begin(), view.end());
  };
  nlohmann::json all = nlohmann::json::array();
  for (const auto& program : programs.Programs()) {
    nlohmann::json directives = nlohmann::json::array();
    for (const CSpiDirective* d : program->Directives()) {
      nlohmann::json levels = nlohmann::json::array();
      for (int at = 0; at < kSpiLevelCount; ++at)
        levels.push_back({{"level", at},
                          {"values", strings(d->values[at].Values())},
                          {"controls", strings(d->controls[at].Values())},
                          {"controlPresent", d->controlPresent[at]}});
      directives.push_back({{"name", std::string(d->name)},
                            {"winningLevel", static_cast<int>(d->winningLevel)},
                            {"doubleQuoted", static_cast<int>(d->doubleQuoted)},
                            {"projectSet", d->projectSet},
                            {"userSet", d->userSet},
                            {"levels", levels}});
    }
    all.push_back({{"name", program->name}, {"level", program->level}, {"directives", directives}});
  }
  const nlohmann::json report = {
      {"result", result}, {"lastMessage", SpiLastMessage()}, {"programs", all}};
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

TEST_F(TakTool, ParseWritesTheModelsDocumentByteForByte) {
  const std::string tricky = std::string(
      "START_GLOBAL\n"
      "plain a 'b c' \"it's\"\n"
      "ctl \x01\x1f\x7f 'tab\there' \\\n next\n"
      "bytes \xff\xfe \xc3\xa9 \xe2\x82\n"
      "lone\n"
      "'quoted name' \"\\back\\slash\"\n"
      "END_GLOBAL\n"
      "START_GLOBAL_CONTROL_SETTINGS\nplain lock\nEND_GLOBAL_CONTROL_SETTINGS\n"
      "START_EMPTY\nEND_EMPTY\n");
  const auto good = dir.write("tricky.tak", tricky);
  const auto bad = dir.write("broken.tak", "START_A\nx 1\ny 'open\n");
  for (const auto& path : {good, bad}) {
    for (const int level : {0, 2, 3}) {
      const std::string command =
          KESTRA_BINARY_DIR "/bin/tak parse " + path.string() + " -level " + std::to_string(level);
      FILE* pipe = popen(command.c_str(), "r");
      ASSERT_NE(pipe, nullptr);
      std::string out;
      std::array<char, 4096> buffer{};
      size_t got;
      while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), got);
      pclose(pipe);
      EXPECT_EQ(out, ReportDocument(path.string(), level)) << path << " level " << level;
    }
  }
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

  // While another process holds a shared lock, set fails with the lock note, nothing written.
  ASSERT_EQ(Tak("set GLOBAL x y -proj " + project).status, 0);
  const std::string held = "flock -s " + project +
                           " sleep 3 & sleep 0.5; " KESTRA_BINARY_DIR
                           "/bin/tak set GLOBAL x z -proj " +
                           project + " 2>&1; echo status=$?";
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
