// Values that must reach a tool as one word, and generated files written without following
// what someone planted at their place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TempDir.h"
#include "base/ArgumentValue.h"
#include "base/OwnFolder.h"
#include "base/ReplaceFile.h"

namespace fs = std::filesystem;

namespace {

TEST(ArgumentValue, OnlyValuesThatStayOneWordPass) {
  EXPECT_EQ(ArgumentValueProblem("/d/my proj/p.tak", true), "");
  EXPECT_EQ(ArgumentValueProblem("74ls125", false), "");
  EXPECT_EQ(ArgumentValueProblem("/d/a\" -product \"evil/p.tak", true), "it holds a double quote");
  EXPECT_EQ(ArgumentValueProblem("cell\nnext", true), "it holds a line break");
  EXPECT_EQ(ArgumentValueProblem("a\x1b[0m", true), "it holds a control character");
  EXPECT_EQ(ArgumentValueProblem("my product", false), "it holds a blank");
  EXPECT_EQ(ArgumentValueProblem("C:\\dir\\", true), "it ends in a backslash");
}

TEST(ArgumentValue, NamesForToolsThatTakeDashesAsOptionsStayNames) {
  EXPECT_EQ(ToolNameProblem("my relay"), "");
  EXPECT_EQ(ToolNameProblem("74ls-125"), "");
  EXPECT_EQ(ToolNameProblem("-sim"), "it begins with '-' and would be read as an option");
  EXPECT_EQ(ToolNameProblem("--help"), "it begins with '-' and would be read as an option");
  EXPECT_EQ(ToolNameProblem("a\\\"q"), "it holds a backslash");
  EXPECT_EQ(ToolNameProblem("a\"q"), "it holds a double quote");
  EXPECT_EQ(ToolNameProblem("a\tb"), "it holds a control character");
}

TEST(ReplaceFile, ReplacesAPlantedLinkAndLeavesNothingBehind) {
  TempDir dir;
  dir.write("victim", "precious");
  fs::create_symlink(dir.path() / "victim", dir.path() / "rx.dat");
  ASSERT_TRUE(ReplaceFileContent((dir.path() / "rx.dat").string(), "generated\n"));
  EXPECT_EQ(ReadFile(dir.path() / "victim"), "precious");
  EXPECT_FALSE(fs::is_symlink(dir.path() / "rx.dat"));
  EXPECT_EQ(ReadFile(dir.path() / "rx.dat"), "generated\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
  // A folder where the file should go: refused, and no temporary file stays.
  fs::create_directory(dir.path() / "taken");
  EXPECT_FALSE(ReplaceFileContent((dir.path() / "taken").string(), "x"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);

  std::string content;
  EXPECT_TRUE(ReadRegularFile((dir.path() / "victim").string(), content));
  EXPECT_EQ(content, "precious");
  ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(ReadRegularFile((dir.path() / "fifo").string(), content)) << "and no hang";
  EXPECT_FALSE(ReadRegularFile("/dev/zero", content)) << "a device is not read without bound";
}

TEST(OwnFolder, PlantedLinksFifosAndFoldersAreReplacedOrNamedWithTheReason) {
  TempDir dir;
  const fs::path victim = dir.path() / "victim";
  fs::create_directory(victim);
  dir.write("victim/keep", "precious");
  // A link where a run's folder goes: replaced by a folder of its own, the target untouched.
  fs::create_directory_symlink(victim, dir.path() / "logs");
  ASSERT_TRUE(MakeOwnFolder((dir.path() / "logs").string()));
  EXPECT_FALSE(fs::is_symlink(dir.path() / "logs"));
  ASSERT_TRUE(RemakeOwnFolder((dir.path() / "logs").string()));
  EXPECT_EQ(ReadFile(victim / "keep"), "precious");
  // Emptied, but for what another program keeps there.
  dir.write("logs/mine", "x");
  dir.write("logs/verify-all/history.json", "{}");
  ASSERT_TRUE(RemakeOwnFolder((dir.path() / "logs").string(), {"verify-all"}));
  EXPECT_FALSE(fs::exists(dir.path() / "logs/mine"));
  EXPECT_TRUE(fs::exists(dir.path() / "logs/verify-all/history.json"));

  // Output files: a link or a FIFO in the way is replaced; a folder is named with the reason.
  fs::create_symlink(victim / "keep", dir.path() / "1.json");
  ASSERT_EQ(::mkfifo((dir.path() / "1.err").c_str(), 0600), 0);
  for (const char* name : {"1.json", "1.err"}) {
    const int fd = CreateOutputFile((dir.path() / name).string());
    EXPECT_GE(fd, 0) << name;
    if (fd >= 0) ::close(fd);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path() / name))) << name;
  }
  EXPECT_EQ(ReadFile(victim / "keep"), "precious");
  fs::create_directory(dir.path() / "2.json");
  std::string error;
  EXPECT_EQ(CreateOutputFile((dir.path() / "2.json").string(), &error), -1);
  EXPECT_EQ(error, "cannot write " + (dir.path() / "2.json").string() + ": Is a directory");
  EXPECT_FALSE(MakeOwnFolder((dir.path() / "1.json/sub").string(), &error));
  EXPECT_EQ(error.rfind("cannot make the folder " + (dir.path() / "1.json/sub").string() + ": ", 0),
            0u)
      << error;
}

}  // namespace
