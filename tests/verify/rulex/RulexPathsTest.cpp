// Names, folders and option texts of a rules-checker run.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "verify/rulex/RulexPaths.h"
#include "verify/rulex/RulexTexts.h"

namespace fs = std::filesystem;

TEST(RulexPaths, RunDirectoryRule) {
  const std::string project = "/work/proj/";
  EXPECT_EQ(RulexRunDirectory(project, std::nullopt), "/work/proj/./rulex");
  EXPECT_EQ(RulexRunDirectory(project, std::string()), "/work/proj/./rulex");
  EXPECT_EQ(RulexRunDirectory(project, std::string("./out/rx")), "/work/proj/./out/rx");
  EXPECT_EQ(RulexRunDirectory(project, std::string("../rx")), "/work/proj/../rx");
  EXPECT_EQ(RulexRunDirectory(project, std::string("/scratch/rx")), "/scratch/rx");
  EXPECT_EQ(RulexRunDirectory(project, std::string("rel/rx")), "rel/rx");
}

TEST(RulexPaths, MakeDirectoryPathCreatesParentsAndReportsFailure) {
  TempDir dir;
  const std::string deep = dir.str() + "/a/./b\\c/d";
  EXPECT_TRUE(MakeDirectoryPath(deep));
  EXPECT_TRUE(fs::is_directory(deep));
  EXPECT_TRUE(MakeDirectoryPath(deep)) << "an existing directory is fine";
  EXPECT_TRUE(MakeDirectoryPath(dir.str() + "/trailing/"));

  dir.write("file", "x");
  EXPECT_FALSE(MakeDirectoryPath(dir.str() + "/file/sub"));
  EXPECT_FALSE(MakeDirectoryPath(dir.str() + "/file"));

  if (geteuid() != 0) {
    fs::create_directory(dir.path() / "locked");
    fs::permissions(dir.path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(MakeDirectoryPath(dir.str() + "/locked/rulex"));
  }
}

TEST(RulexPaths, FileNamesOptionsAndStatus) {
  EXPECT_EQ(RulexTempProjectPath("/p/", "demo"), "/p/demo_tmp.tak");
  EXPECT_EQ(RulexLibraryListPath("/p/", false), "/p/qvd.lib");
  EXPECT_EQ(RulexLibraryListPath("/p/", true), "/p/refqvd.lib");
  EXPECT_EQ(RulexOptions("/p/demo_tmp.tak", "/p/qvd.lib"),
            " -proj \"/p/demo_tmp.tak\" -qvdlib \"/p/qvd.lib\"");
  EXPECT_EQ(RulexSelectionOptions("ttl", {}), " -lib \"ttl\"");
  EXPECT_EQ(RulexSelectionOptions("ttl", {"ls00"}), " -lib \"ttl\" -cell \"ls00\"");
  EXPECT_EQ(RulexSelectionOptions("ttl", {"a", "b c"}), " -lib \"ttl\" -cell \"a\" -cell \"b c\"");

  EXPECT_EQ(RulexStatusText("ttl", "ls00"), "Library : ttl, Part : ls00");
  EXPECT_EQ(RulexStatusText("ttl", ""), "Library : ttl");
}

TEST(RulexPaths, QuotingFollowsTheLaunchersSplittingRules) {
  EXPECT_EQ(QuoteArgument("plain"), "\"plain\"");
  EXPECT_EQ(QuoteArgument("with blank"), "\"with blank\"");
  EXPECT_EQ(QuoteArgument("a\"b"), "\"a\\\"b\"");
  EXPECT_EQ(QuoteArgument("c:\\dir\\"), "\"c:\\dir\\\\\"");  // trailing backslash doubled
  EXPECT_EQ(QuoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");      // backslash before a quote
  EXPECT_EQ(QuoteArgument("a\\b"), "\"a\\b\"");              // inner backslash unchanged
  EXPECT_EQ(QuoteArgument(""), "\"\"");
}
