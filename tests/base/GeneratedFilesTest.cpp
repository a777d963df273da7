// Values that must reach a tool as one word, and generated files written without following
// what someone planted at their place.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempDir.h"
#include "base/ArgumentValue.h"
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
}

}  // namespace
