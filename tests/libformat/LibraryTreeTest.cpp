// The lazily loaded library tree: cells and views read once, on demand; bad names and
// unreadable directories reported.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "libformat/LibraryTree.h"
#include "projectfile/SpiExpandVariables.h"

namespace fs = std::filesystem;

TEST(LibraryTree, ReadsCellsAndViewsOnceAndOnlyWhenAsked) {
  TempDir dir;
  for (const char* cell : {"zeta/sym_1", "alpha/sym_1", "alpha/package", ".git/x"})
    fs::create_directories(dir.path() / "lib" / cell);
  fs::create_directories(dir.path() / "other/c1");
  dir.write("lib/notes.txt", "not a cell");
  const auto list = dir.write("qvd.lib", "lib lib\nother other\n");

  LibraryTree tree(list.string(), SpiExpandVariables);
  EXPECT_EQ(tree.DirectoryReads(), 0);
  const auto& cells = tree.Cells("lib");
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0].name, "alpha");
  EXPECT_EQ(cells[1].name, "zeta");
  tree.Cells("lib");
  EXPECT_EQ(tree.DirectoryReads(), 1);
  EXPECT_FALSE(tree.CellsLoaded("other"));
  EXPECT_EQ(tree.Views("lib", "alpha"), (std::vector<std::string>{"package", "sym_1"}));
  tree.Views("lib", "alpha");
  EXPECT_EQ(tree.DirectoryReads(), 2);
  EXPECT_TRUE(tree.Cells("unknown").empty());
  EXPECT_TRUE(tree.Views("lib", "nosuch").empty());
  ASSERT_EQ(tree.Issues().size(), 1u);  // the missing cell directory, nothing else
  EXPECT_NE(tree.Issues()[0].file.find("nosuch"), std::string::npos);
}

TEST(LibraryTree, ControlCharacterNamesAreKeptButMarkedAndEmptyOrBrokenLibrariesReported) {
  TempDir dir;
  fs::create_directories(dir.path() / "lib/good_1");
  fs::create_directories(dir.path() / "lib/with blank");
  fs::create_directories(dir.path() / "lib/r\xC3\xA9sistance");
  fs::create_directories(dir.path() / "lib/tab\there");
  fs::create_directories(dir.path() / "empty");
  dir.write("file_lib", "");
  const auto list = dir.write("qvd.lib", "lib lib\nempty empty\nfile file_lib\nmissing nowhere\n");

  LibraryTree tree(list.string(), SpiExpandVariables);
  const size_t listIssues = tree.Issues().size();
  EXPECT_EQ(listIssues, 2u);  // file_lib is not a directory, nowhere does not exist
  const auto& cells = tree.Cells("lib");
  ASSERT_EQ(cells.size(), 4u);
  int usable = 0;
  for (const auto& c : cells) usable += c.usable;
  EXPECT_EQ(usable, 3);  // blanks and non-ASCII are fine; only the tab is refused
  EXPECT_EQ(tree.Issues().size(), listIssues + 1);
  EXPECT_TRUE(tree.Cells("empty").empty());
  EXPECT_NE(tree.Issues().back().message.find("no cells"), std::string::npos);
  EXPECT_TRUE(tree.Cells("file").empty());
  EXPECT_TRUE(tree.Cells("missing").empty());

  EXPECT_TRUE(IsPortableName("74LS00-a_b.c"));
  EXPECT_TRUE(IsPortableName("old \"parts\" caf\xC3\xA9"));
  EXPECT_FALSE(IsPortableName("a\tb"));
  EXPECT_FALSE(IsPortableName(""));
}
