// Loading: cells are read lazily and once, so a 10,000-cell library opens at once; bad
// input is shown as far as it can be and reported, never a crash or a hang.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "BrowserFixture.h"
#include "TempDir.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "outside/C5XBrowserUI.h"

namespace fs = std::filesystem;

namespace {

constexpr int kBigCells = 10000;

// A 10,000-cell library kept in the build tree: made once, reused by later runs, because
// removing 10,000 directories costs far more than the browser's work under test.
fs::path BigLibrary() {
  const fs::path lib = fs::path(KESTRA_BINARY_DIR) / "tests/fixtures/big_library";
  const fs::path done = lib / ".complete";
  if (!fs::exists(done)) {
    for (int i = 0; i < kBigCells; ++i) fs::create_directories(lib / ("c" + std::to_string(i)));
    std::ofstream(done) << kBigCells << "\n";
  }
  return lib;
}

}  // namespace

TEST(BrowserLoading, TenThousandCellLibraryIsReadOnceAndOnlyWhenOpened) {
  TempDir dir;
  dir.write("qvd.lib", "big \"" + BigLibrary().string() + "\"\n");
  BrowserWindow w;
  C5XBrowserUI browser(dir.str() + "/", "big");
  browser.ShowBrowserTree(w.window(), 4, {20, 65, 241, 288}, {}, nullptr, nullptr, "", 1, 1);
  LibraryTree& tree = *browser.GetBrowserData()->GetBuildTree();
  EXPECT_EQ(tree.DirectoryReads(), 0);  // showing the tree reads no library

  QTreeWidgetItem* big = w.Library("big");
  ASSERT_NE(big, nullptr);
  big->setExpanded(true);
  EXPECT_EQ(big->childCount(), kBigCells);
  big->setExpanded(false);
  big->setExpanded(true);
  EXPECT_EQ(big->childCount(), kBigCells);
  std::vector<std::string> cells;
  browser.GetCellList("big", cells);
  EXPECT_EQ(cells.size(), size_t{kBigCells});
  browser.ShowBrowserCombo(w.window(), 1, {100, 40, 250, 140}, {}, 6);
  browser.ShowBrowserCombo(w.window(), 2, {100, 80, 250, 180}, {}, 6);
  EXPECT_EQ(w.Chooser("cellChooser")->count(), kBigCells);
  EXPECT_EQ(tree.DirectoryReads(), 1);
}

TEST(BrowserLoading, BadListsAndLibrariesAreShownAsFarAsPossibleAndReported) {
  TempDir dir;
  fs::create_directories(dir.path() / "odd/good");
  fs::create_directories(dir.path() / "odd/with blank");
  fs::create_directories(dir.path() / "odd/caf\xC3\xA9");
  fs::create_directories(dir.path() / "odd/tab\there");
  fs::create_directories(dir.path() / "empty");
  dir.write("notadir", "");
  dir.write("qvd.lib",
            "odd odd\n"
            "empty empty\n"
            "gone does/not/exist\n"
            "file notadir\n"
            "include qvd.lib\n"
            "broken line with words\n"
            "\"two words\" odd\n"
            "\"tab\tname\" odd\n");
  testing::internal::CaptureStderr();
  BrowserWindow w;
  C5XBrowserUI browser(dir.str() + "/", "bad");
  browser.ShowLibType(w.window(), {15, 25, 150, 43}, {15, 45, 190, 63});
  browser.ShowBrowserTree(w.window(), 4, {20, 65, 241, 288}, {}, nullptr, nullptr, "", 1, 1);
  w.Tick("odd", {"good", "with blank"});
  w.Tick("empty");
  w.Tick("gone");
  w.Chooser("libraryTypeChooser")->setCurrentIndex(1);  // no refqvd.lib at all
  const std::string err = testing::internal::GetCapturedStderr();

  for (const char* expected :
       {"qvd.lib:3: library \"gone\"", "qvd.lib:4: library \"file\"", "includes itself",
        "qvd.lib:6: expected a library name", "tab\there: cell name", "library has no cells",
        "qvd.lib:8: library name \"tab\tname\"", "refqvd.lib: library list file not found"}) {
    EXPECT_NE(err.find(expected), std::string::npos) << "missing report: " << expected << "\n"
                                                     << err;
  }
  EXPECT_NE(browser.IsRefLibSelected(), 0);
  EXPECT_EQ(w.Tree()->topLevelItemCount(), 0);

  w.Chooser("libraryTypeChooser")->setCurrentIndex(0);
  ASSERT_EQ(w.Tree()->topLevelItemCount(), 6);
  EXPECT_FALSE(w.Library("gone")->flags() & Qt::ItemIsEnabled);
  EXPECT_FALSE(w.Library("gone")->toolTip(0).isEmpty());
  w.Tick("odd", {"good", "with blank", "caf\xC3\xA9", "tab\there"});
  w.Tick("gone");
  w.Tick("two words");
  w.Tick("tab\tname");
  std::vector<std::string> libs;
  browser.GetSelectedLibList(libs);
  EXPECT_EQ(libs, (std::vector<std::string>{"odd", "two words"}));
  std::vector<std::string> cells;
  browser.GetSelectedCellList("odd", cells);
  EXPECT_EQ(cells, (std::vector<std::string>{"caf\xC3\xA9", "good", "with blank"}));
  EXPECT_EQ(w.Library("odd")->childCount(), 4);  // all shown; the tab name cannot be ticked
  browser.GetCellList("odd", cells);
  EXPECT_EQ(cells, (std::vector<std::string>{"caf\xC3\xA9", "good", "with blank"}));
  EXPECT_EQ(browser.IsLibExisting("gone"), 0);
  EXPECT_EQ(browser.GetSelectedLibPath("gone"), (dir.path() / "does/not/exist").string());
}

TEST(BrowserLoading, UnreadableLibraryDirectoryIsReportedAndShownEmpty) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every directory";
  TempDir dir;
  fs::create_directories(dir.path() / "locked/cell");
  dir.write("qvd.lib", "locked locked\n");
  fs::permissions(dir.path() / "locked", fs::perms::none);
  testing::internal::CaptureStderr();
  BrowserWindow w;
  C5XBrowserUI browser(dir.str() + "/", "locked");
  std::vector<std::string> cells;
  browser.GetCellList("locked", cells);
  const std::string err = testing::internal::GetCapturedStderr();
  fs::permissions(dir.path() / "locked", fs::perms::owner_all);
  EXPECT_TRUE(cells.empty());
  EXPECT_NE(err.find("cannot be read"), std::string::npos) << err;
}
