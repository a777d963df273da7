// tak as a librarian runs it: usage, parse, format, get, explain and set.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "TempDir.h"
#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProgramList.h"
#include "projectfile/SpiLastMessage.h"
#include "projectfile/SpiReader.h"

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
                          {"values", strings(d->Values(at).Values())},
                          {"controls", strings(d->Controls(at).Values())},
                          {"controlPresent", d->ControlPresent(at)}});
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

// Runs a bash script (written to a file in dir, so that it needs no quoting); its standard
// output and error together, and its exit status.
TakRun Shell(const TempDir& dir, const std::string& script) {
  const std::string file = dir.write("script.sh", script + "\n").string();
  TakRun run;
  FILE* pipe = popen(("bash " + file + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer{};
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// A project of many directives, so that reading and saving it take a while.
std::string BigProject(const TempDir& dir, int directives, const std::string& extra = "") {
  std::string text = "START_GLOBAL\n" + extra;
  for (int i = 0; i < directives; ++i)
    text += "d" + std::to_string(i) + " value_" + std::to_string(i) + " other\n";
  return dir.write("proj/p.tak", text + "END_GLOBAL\n").string();
}

TEST_F(TakTool, ConcurrentWritersRetryingOnRefusalLoseNoAcknowledgedUpdate) {
  const std::string p = BigProject(dir, 20000);
  // Six writers, each setting its own directives; a refused set is tried again, an
  // acknowledged one is recorded.
  const std::string script =
      "for w in 1 2 3 4 5 6; do ( for j in 1 2 3 4 5; do n=0; "
      "until " KESTRA_BINARY_DIR "/bin/tak set GLOBAL w${w}_$j v$j -proj " +
      p + " -wait 1 2>>" + dir.str() +
      "/refused; do n=$((n+1)); [ $n -gt 50 ] && continue 2; done; "
      "echo w${w}_$j >>" +
      dir.str() + "/acknowledged; done ) & done; wait";
  ASSERT_EQ(Shell(dir, script).status, 0);
  std::istringstream acknowledged(ReadFile(dir.path() / "acknowledged"));
  std::set<std::string> names;
  for (std::string name; std::getline(acknowledged, name);) names.insert(name);
  EXPECT_EQ(names.size(), 30u);
  for (const auto& name : names) {
    const std::string value = "v" + name.substr(name.find('_') + 1) + "\n";
    EXPECT_EQ(Tak("get GLOBAL " + name + " -proj " + p).out, value) << name;
  }
  // A refusal is a lock that another tool held too long, never a silent loss.
  std::istringstream refusals(ReadFile(dir.path() / "refused"));
  for (std::string line; std::getline(refusals, line);)
    EXPECT_TRUE(line.find("SHARE.EXE was not loaded") != std::string::npos ||
                line.rfind("Another tool which is running has a lock", 0) == 0)
        << line;
}

TEST_F(TakTool, KilledSavesLeaveOnlyTheProjectFileAndItsLog) {
  // The log goes next to the project file (temp_dir), and a refused level writes to it.
  const std::string p = BigProject(dir, 60000, "temp_dir .\ntext_editor emacs\n");
  const std::string script =
      "for i in $(seq 30); do " KESTRA_BINARY_DIR "/bin/tak set GLOBAL x k$i -proj " + p +
      " 2>/dev/null & pid=$!; sleep 0.$((RANDOM % 25)); kill -9 $pid 2>/dev/null; "
      "wait $pid 2>/dev/null; done; exit 0";
  ASSERT_EQ(Shell(dir, script).status, 0);
  const TakRun last = Tak("set GLOBAL x final -proj " + p);
  ASSERT_EQ(last.status, 0) << last.out;
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "proj"))
    files.insert(entry.path().filename().string());
  EXPECT_EQ(files, (std::set<std::string>{"p.tak", "tak.log"}));
  EXPECT_EQ(Tak("get GLOBAL x -proj " + p).out, "final\n");
  EXPECT_EQ(Tak("get GLOBAL d59999 -proj " + p).out, "value_59999\nother\n");
}

TEST_F(TakTool, SetRefusesWhatTheFormatCannotHoldAndChangesNothing) {
  const std::string before = ReadFile(project);
  const std::pair<std::string, std::string> refused[] = {
      {"set GLOBAL x \"$(printf 'a\\nb')\"", "The value \"a\\nb\" of directive \"GLOBAL:x\""},
      {"set GLOBAL END_GLOBAL", "alone on a line, it would end the section"},
      {"set \"$(printf 'A\\nB')\" x 1", "The program name \"A\\nB\""},
      {"set 'A B' x 1", "it holds a blank or a tab"},
      {"set GLOBAL \"a' \\\"b\" 1", "holds both quote characters"},
      {"set GLOBAL x \"it's \\\"x\\\"\"", "no quoting can hold both"},
  };
  for (const auto& [command, message] : refused) {
    const TakRun run = Shell(dir, KESTRA_BINARY_DIR "/bin/tak " + command + " -proj " + project);
    EXPECT_EQ(run.status, 1) << command << "\n" << run.out;
    EXPECT_NE(run.out.find(message), std::string::npos) << command << "\n" << run.out;
    EXPECT_EQ(ReadFile(project), before) << command;
  }
}

TEST_F(TakTool, SpecialFilesAreRefusedWithoutHanging) {
  const std::string fifo = dir.str() + "/fifo.tak";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& command : std::vector<std::string>{
           "get GLOBAL x -proj " + fifo, "set GLOBAL x 1 -proj " + fifo, "parse " + fifo,
           "parse /dev/zero", "set GLOBAL x 1 -proj /dev/zero", "format /dev/null"}) {
    const TakRun run = Tak(command);  // ctest's timeout ends a hang
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.out.find("not a regular file"), std::string::npos) << command << run.out;
  }
  struct stat status {};
  ASSERT_EQ(stat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  // As root: a device node, and a link to one, stay device nodes.
  const std::string node = dir.str() + "/node.tak";
  if (mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "not root";
  std::filesystem::create_symlink(node, dir.path() / "link.tak");
  for (const std::string& path : std::vector<std::string>{node, dir.str() + "/link.tak"}) {
    const TakRun run = Tak("set GLOBAL x 1 -proj " + path);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("The path names a device, not a regular file"), std::string::npos)
        << run.out;
  }
  ASSERT_EQ(stat(node.c_str(), &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
}

}  // namespace
