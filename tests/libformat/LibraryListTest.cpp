// Reading library list files: names, directories, includes and every reported problem.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "TempDir.h"
#include "libformat/LibraryList.h"
#include "projectfile/SpiExpandVariables.h"

namespace fs = std::filesystem;

namespace {

bool HasIssue(const LibraryList& list, int line, const std::string& part) {
  for (const FormatIssue& issue : list.issues) {
    if (issue.line == line && issue.message.find(part) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

TEST(LibraryList, ResolvesRelativeDirectoriesAgainstTheListFolderNotTheCurrentDirectory) {
  TempDir dir;
  fs::create_directories(dir.path() / "proj/libs/standard");
  fs::create_directories(dir.path() / "abs lib");
  const auto list = dir.write("proj/qvd.lib",
                              "# project libraries\n"
                              "standard ./libs/standard   # trailing comment\n"
                              "\n"
                              "\"spaced\" \"" +
                                  (dir.path() / "abs lib").string() + "\"\r\n");
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  const LibraryList read = ReadLibraryList(list.string(), SpiExpandVariables);
  fs::current_path(before);

  ASSERT_EQ(read.libraries.size(), 2u);
  EXPECT_EQ(read.libraries[0].name, "standard");
  EXPECT_EQ(fs::path(read.libraries[0].directory), dir.path() / "proj/libs/standard");
  EXPECT_EQ(read.libraries[0].line, 2);
  EXPECT_TRUE(read.libraries[0].directoryExists);
  EXPECT_EQ(read.libraries[1].name, "spaced");
  EXPECT_EQ(fs::path(read.libraries[1].directory), dir.path() / "abs lib");
  EXPECT_TRUE(read.issues.empty()) << read.issues.front().ToString();
}

TEST(LibraryList, ReportsBadLinesWithFileAndLineAndKeepsLoadingTheRest) {
  TempDir dir;
  fs::create_directories(dir.path() / "a");
  fs::create_directories(dir.path() / "c");
  dir.write("afile", "x");
  const auto list = dir.write("qvd.lib",
                              "a a\n"
                              "lonely\n"
                              "b missing_dir\n"
                              "a c\n"
                              "too many words here\n"
                              "\"open quote\n"
                              "f afile\n"
                              "c c\n");
  const LibraryList read = ReadLibraryList(list.string(), SpiExpandVariables);

  std::vector<std::string> names;
  for (const auto& lib : read.libraries) names.push_back(lib.name);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "f", "c"}));
  EXPECT_FALSE(read.libraries[1].directoryExists);
  EXPECT_TRUE(HasIssue(read, 2, "found 1 word"));
  EXPECT_TRUE(HasIssue(read, 3, "does not exist"));
  EXPECT_TRUE(HasIssue(read, 4, "already listed"));
  EXPECT_TRUE(HasIssue(read, 5, "found 4 word"));
  EXPECT_TRUE(HasIssue(read, 6, "closing double quote"));
  EXPECT_TRUE(HasIssue(read, 7, "is not a directory"));
  EXPECT_EQ(read.issues.size(), 6u);
  EXPECT_EQ(read.issues[0].file, list.string());
  EXPECT_EQ(read.issues[0].ToString().rfind(list.string() + ":2: ", 0), 0u);
}

TEST(LibraryList, ExpandsEnvironmentVariablesAndReportsFailedExpansion) {
  TempDir dir;
  fs::create_directories(dir.path() / "vendor/ti");
  setenv("KESTRA_TEST_VENDOR", (dir.path() / "vendor").c_str(), 1);
  unsetenv("KESTRA_TEST_UNSET");
  const auto list = dir.write("qvd.lib",
                              "ti ${KESTRA_TEST_VENDOR}/ti\n"
                              "gone ${KESTRA_TEST_UNSET}/x\n");
  const LibraryList read = ReadLibraryList(list.string(), SpiExpandVariables);
  ASSERT_EQ(read.libraries.size(), 2u);
  EXPECT_EQ(fs::path(read.libraries[0].directory), dir.path() / "vendor/ti");
  EXPECT_TRUE(read.libraries[0].directoryExists);
  EXPECT_FALSE(read.libraries[1].directoryExists);
  EXPECT_TRUE(HasIssue(read, 2, "KESTRA_TEST_UNSET"));
}

TEST(LibraryList, IncludesOtherListsAndStopsAtAnIncludeLoop) {
  TempDir dir;
  fs::create_directories(dir.path() / "shared/common");
  fs::create_directories(dir.path() / "proj/mine");
  dir.write("shared/more.lib", "common common\ninclude ../proj/qvd.lib\n");
  const auto list = dir.write("proj/qvd.lib",
                              "mine mine\n"
                              "include ../shared/more.lib\n"
                              "include qvd.lib\n"
                              "\"include\" mine\n");
  const LibraryList read = ReadLibraryList(list.string(), SpiExpandVariables);

  ASSERT_EQ(read.libraries.size(), 3u);
  EXPECT_EQ(read.libraries[1].name, "common");
  EXPECT_EQ(fs::path(read.libraries[1].directory), dir.path() / "shared/common");
  EXPECT_EQ(read.libraries[2].name, "include");
  int loops = 0;
  for (const auto& issue : read.issues)
    loops += issue.message.find("includes itself") != std::string::npos;
  EXPECT_EQ(loops, 2);
}

TEST(LibraryList, AListIncludedFromSeveralPlacesIsReadOnce) {
  // Ten levels of two includes each of the next level: 2^10 reads if each were read again.
  TempDir dir;
  fs::create_directories(dir.path() / "lib");
  dir.write("l10.lib", "deep lib\n");
  for (int level = 9; level >= 0; --level) {
    const std::string next = "l" + std::to_string(level + 1) + ".lib";
    dir.write("l" + std::to_string(level) + ".lib",
              "include " + next + "\ninclude ./" + next + "\n");
  }
  const LibraryList read = ReadLibraryList((dir.path() / "l0.lib").string(), SpiExpandVariables);
  ASSERT_EQ(read.libraries.size(), 1u);
  EXPECT_EQ(read.issues.size(), 10u) << "one note per repeated include, no duplicate libraries";
  EXPECT_NE(read.issues[0].message.find("was read already"), std::string::npos);
}

TEST(LibraryList, MissingOrSpecialListFilesAreReportedNotOpened) {
  TempDir dir;
  const LibraryList missing =
      ReadLibraryList((dir.path() / "qvd.lib").string(), SpiExpandVariables);
  EXPECT_TRUE(missing.libraries.empty());
  ASSERT_EQ(missing.issues.size(), 1u);
  EXPECT_NE(missing.issues[0].message.find("not found"), std::string::npos);

  // A pipe would block a reader forever; it must be refused without opening it.
  const fs::path fifo = dir.path() / "refqvd.lib";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const LibraryList pipe = ReadLibraryList(fifo.string(), SpiExpandVariables);
  ASSERT_EQ(pipe.issues.size(), 1u);
  EXPECT_NE(pipe.issues[0].message.find("not a regular file"), std::string::npos);
}
