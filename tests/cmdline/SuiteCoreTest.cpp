// The path helpers, the tokeniser and context help of the suite's core library.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "TempDir.h"
#include "base/WCString.h"
#include "outside/CFilePath.h"
#include "outside/CLHelpHandler.h"

namespace {

TEST(FilePath, DirectoryAndNameOfAProjectFile) {
  CFilePath paths;
  std::string dir, name;
  EXPECT_EQ(paths.GetProjPathFromName("/a/b c/p.tak", dir), 0);
  EXPECT_EQ(dir, "/a/b c/");
  EXPECT_EQ(paths.GetProjPathFromName("C:\\lib\\p.tak", dir), 0);
  EXPECT_EQ(dir, "C:\\lib\\");
  paths.GetProjPathFromName("p.tak", dir);
  EXPECT_EQ(dir, "");
  EXPECT_EQ(paths.GetFileName("/a/b/p.tak", name, 1), 0);
  EXPECT_EQ(name, "p.tak");
  EXPECT_EQ(paths.GetFileName("/a/b/p.v1.tak", name, 0), 0);
  EXPECT_EQ(name, "p.v1");
  EXPECT_NE(paths.GetFileName("/a/b/", name, 0), 0) << "a directory has no file name";
}

TEST(FilePath, NormalizeResolvesLexically) {
  CFilePath paths;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/a//b/./c/", "/a/b/c"},
      {"a\\b\\..\\c", "a/c"},
      {"/../x", "/x"},
      {"../a/../../b", "../../b"},
      {"./", "."},
      {"", ""},
  };
  for (auto [in, out] : cases) {
    std::string path = in;
    paths.NormalizePath(path);
    EXPECT_EQ(path, out) << in;
  }
}

TEST(FilePath, RemovesWholeDirectoriesButNeverThroughALink) {
  TempDir dir;
  dir.write("victim/keep.txt", "x");
  dir.write("gone/a/b/c.txt", "x");
  std::filesystem::create_directory_symlink(dir.path() / "victim", dir.path() / "link");
  CFilePath paths;
  EXPECT_NE(paths.RemoveNonEmptyDirectory(dir.str() + "/gone"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "gone"));
  EXPECT_EQ(paths.RemoveNonEmptyDirectory(dir.str() + "/link"), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "victim/keep.txt"));
  EXPECT_EQ(paths.RemoveNonEmptyDirectory(dir.str() + "/missing"), 0);
  EXPECT_EQ(paths.RemoveNonEmptyDirectory("/"), 0);
  EXPECT_EQ(paths.RemoveNonEmptyDirectory(""), 0);
}

TEST(FilePath, DesignProjectIsOneWithoutReferenceLibraries) {
  TempDir dir;
  EXPECT_NE(CFilePath::IsDesignProject(dir.str() + "/refqvd.lib"), 0);
  dir.write("refqvd.lib", "ref1 ./ref1\n");
  EXPECT_EQ(CFilePath::IsDesignProject(dir.str() + "/refqvd.lib"), 0);
}

TEST(Tokeniser, TokensOfATotalLine) {
  const WCString line("TOTAL   3 0  12\t7 1 0\n", " \t\n");
  EXPECT_EQ(line.tokenCount(), 7);
  EXPECT_EQ(line.getToken(0), "TOTAL");
  EXPECT_EQ(line.getToken(3), "12");
  EXPECT_EQ(line.getToken(6), "0");
  EXPECT_EQ(line.getToken(7), "");
  EXPECT_EQ(line.getToken(-1), "");
  WCString blanks("   ", " ");
  EXPECT_EQ(blanks.tokenCount(), 0);
  EXPECT_EQ(blanks.getToken(0), "");
  blanks = "a b";
  EXPECT_EQ(blanks.getToken(1), "b");
}

TEST(Help, TopicIsLoggedAndWrittenWithoutAskingWhenNonInteractive) {
  TempDir dir;
  const std::string log = dir.str() + "/help.log";
  setenv("KESTRA_HELP_LOG", log.c_str(), 1);
  setenv("KESTRA_NONINTERACTIVE", "1", 1);
  testing::internal::CaptureStderr();
  CLHelpHandler::InvokeHelp(143367);
  CLHelpHandler::InvokeHelp(12);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "help: topic 143367\nhelp: topic 12\n");
  EXPECT_EQ(ReadFile(log), "help: topic 143367\nhelp: topic 12\n");
  unsetenv("KESTRA_HELP_LOG");
  unsetenv("KESTRA_NONINTERACTIVE");
}

}  // namespace
