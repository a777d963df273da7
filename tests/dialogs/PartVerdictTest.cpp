// Reading one part's verdict from its status and log files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempDir.h"
#include "dialogs/PartVerdict.h"

namespace {

PartVerdict Read(const TempDir& dir, const char* status, const char* log) {
  const auto statusFile = dir.path() / "p.stat";
  const auto logFile = dir.path() / "p.log";
  std::filesystem::remove(statusFile);
  std::filesystem::remove(logFile);
  if (status) dir.write("p.stat", status);
  if (log) dir.write("p.log", log);
  return ReadPartVerdictFiles(statusFile, logFile);
}

}  // namespace

TEST(PartVerdict, StatusKeywordInAnyCaseAndAnyWords) {
  TempDir dir;
  EXPECT_EQ(Read(dir, "Status: passed\n", "all fine\n").code, 0);
  // Any occurrence counts, even in words that deny it.
  EXPECT_EQ(Read(dir, "Status: NOT PASSED\n", "").code, 0);
  EXPECT_EQ(Read(dir, "Status: failed\n", "").code, 1);
  // Without a final line break the last piece is still read.
  EXPECT_EQ(Read(dir, "passed", nullptr).code, 0);
}

TEST(PartVerdict, PiecesOf79CharactersHideASplitKeyword) {
  TempDir dir;
  const std::string before(76, '.');  // "PASSED" would span characters 77 to 82
  EXPECT_EQ(Read(dir, (before + "PASSED\n").c_str(), "").code, 1);
  const std::string fits(73, '.');  // characters 74 to 79: inside the first piece
  EXPECT_EQ(Read(dir, (fits + "PASSED\n").c_str(), "").code, 0);
  // The second piece of a long line starts at character 80.
  EXPECT_EQ(Read(dir, (std::string(79, '.') + "PASSED\n").c_str(), "").code, 0);
  // A line of exactly 78 characters plus its break is one piece; the next line is another.
  EXPECT_EQ(Read(dir, (std::string(78, '.') + "\nPASSED\n").c_str(), "").code, 0);
}

TEST(PartVerdict, LogWarningsOrErrorsMarkAPassedPart) {
  TempDir dir;
  const PartVerdict zeroErrors = Read(dir, "PASSED\n", "Summary: 0 errors\n");
  EXPECT_EQ(zeroErrors.code, 0);
  EXPECT_TRUE(zeroErrors.withWarnings);
  EXPECT_TRUE(Read(dir, "PASSED\n", "a Warning here\n").withWarnings);
  const PartVerdict clean = Read(dir, "PASSED\n", "clean\n");
  EXPECT_FALSE(clean.withWarnings);
  const PartVerdict noLog = Read(dir, "PASSED\n", nullptr);
  EXPECT_EQ(noLog.code, 0);
  EXPECT_FALSE(noLog.withWarnings);
  // A failed part's log is not read.
  EXPECT_FALSE(Read(dir, "FAILED\n", "ERROR\n").withWarnings);
}

TEST(PartVerdict, MissingEmptyAndUnreadableStatusFiles) {
  TempDir dir;
  EXPECT_EQ(Read(dir, nullptr, "PASSED").code, 1);  // missing
  EXPECT_EQ(Read(dir, "", "PASSED").code, 1);       // empty
  // A status whose size cannot be read (a link that loops) is unknown.
  std::filesystem::create_symlink("loop.stat", dir.path() / "loop.stat");
  EXPECT_EQ(ReadPartVerdictFiles(dir.path() / "loop.stat", dir.path() / "p.log").code, 2);
  // A folder in the way of the status file's parent: not there, so failed.
  dir.write("file", "x");
  EXPECT_EQ(ReadPartVerdictFiles(dir.path() / "file" / "p.stat", dir.path() / "p.log").code, 1);
  // A directory, a dangling link and a pipe are unreadable status files: failed (a pipe is
  // not opened, so nothing waits for a writer).
  std::filesystem::create_directories(dir.path() / "folder.stat");
  EXPECT_EQ(ReadPartVerdictFiles(dir.path() / "folder.stat", dir.path() / "p.log").code, 1);
  std::filesystem::create_symlink("gone", dir.path() / "dangling.stat");
  EXPECT_EQ(ReadPartVerdictFiles(dir.path() / "dangling.stat", dir.path() / "p.log").code, 1);
  ASSERT_EQ(::mkfifo((dir.path() / "pipe.stat").c_str(), 0600), 0);
  EXPECT_EQ(ReadPartVerdictFiles(dir.path() / "pipe.stat", dir.path() / "p.log").code, 1);
}

TEST(PartVerdict, PartFileNameIsTheMappedLastComponent) {
  EXPECT_EQ(PartFileName("/libs/std", "74LS00"), "74ls00");
  EXPECT_EQ(PartFileName("/libs/std", "my \"relay\""), "my%20%22relay%22");
  EXPECT_EQ(PartFileName("/libs/std", "a:b"), "b");
  EXPECT_EQ(PartFileName("/libs/std", ""), "");  // the mapper refuses an empty name
}
