// The multiple-selection tree over the example project, driven through its real widgets:
// what the user ticks is what the selection operations report.
#include <gtest/gtest.h>

#include "BrowserFixture.h"
#include "framework/CImageList.h"
#include "outside/C5XBrowserUI.h"

namespace {

const CRect kTreeRect{20, 65, 241, 288};
const CRect kNone{0, 0, 0, 0};

void ShowTree(C5XBrowserUI& browser, BrowserWindow& w) {
  CImageList icons;
  icons.Create(16, 16, 0, 11);
  CImageList bitmaps;
  browser.ShowLibType(w.window(), CRect{15, 25, 150, 43}, CRect{15, 45, 190, 63});
  browser.ShowBrowserTree(w.window(), 4, kTreeRect, kNone, &bitmaps, &icons, "", 1, 1);
}

std::vector<std::string> Libs(C5XBrowserUI& browser) {
  std::vector<std::string> libs{"stale"};
  browser.GetSelectedLibList(libs);
  return libs;
}

std::vector<std::string> Cells(C5XBrowserUI& browser, const std::string& lib) {
  std::vector<std::string> cells{"stale"};
  browser.GetSelectedCellList(lib, cells);
  return cells;
}

}  // namespace

TEST(BrowserSelection, TickedLibraryAndCellsAreReadBackAndReferenceTypeSwitches) {
  BrowserWindow w;
  C5XBrowserUI browser(DemoProjectPath(), "demo");
  ShowTree(browser, w);
  ASSERT_NE(w.Tree(), nullptr);
  EXPECT_EQ(w.Tree()->geometry(), QRect(20, 65, 221, 223));
  EXPECT_TRUE(Libs(browser).empty());

  w.Tick("standard", {"7400", "74ls125"});
  EXPECT_EQ(Libs(browser), (std::vector<std::string>{"standard"}));
  EXPECT_EQ(Cells(browser, "standard"), (std::vector<std::string>{"7400", "74ls125"}));
  EXPECT_TRUE(Cells(browser, "passives").empty());
  EXPECT_EQ(browser.IsRefLibSelected(), 0);
  EXPECT_EQ(browser.GetSelectedLibPath("standard"), DemoProjectPath() + "libs/standard");

  // Unticking the library drops its cells as well.
  w.Library("standard")->setCheckState(0, Qt::Unchecked);
  EXPECT_TRUE(Libs(browser).empty());
  EXPECT_TRUE(Cells(browser, "standard").empty());

  QComboBox* type = w.Chooser("libraryTypeChooser");
  ASSERT_NE(type, nullptr);
  type->setCurrentIndex(1);
  EXPECT_NE(browser.IsRefLibSelected(), 0);
  EXPECT_EQ(w.Library("standard"), nullptr);
  w.Tick("refparts", {"lm358"});
  EXPECT_EQ(Libs(browser), (std::vector<std::string>{"refparts"}));
  EXPECT_EQ(Cells(browser, "refparts"), (std::vector<std::string>{"lm358"}));
  // Project libraries stay known while the reference type is chosen (the symbol viewer
  // asks whether "standard" exists).
  EXPECT_NE(browser.IsLibExisting("standard"), 0);
  EXPECT_EQ(browser.IsLibExisting("nosuch"), 0);

  type->setCurrentIndex(0);
  EXPECT_EQ(browser.IsRefLibSelected(), 0);
  EXPECT_TRUE(Libs(browser).empty());
}

TEST(BrowserSelection, WholeLibraryAndSeveralLibrariesAreReportedInTreeOrder) {
  BrowserWindow w;
  C5XBrowserUI browser(DemoProjectPath(), "demo");
  ShowTree(browser, w);
  w.Tick("passives");
  w.Tick("standard");
  EXPECT_EQ(Libs(browser), (std::vector<std::string>{"standard", "passives"}));
  EXPECT_TRUE(Cells(browser, "passives").empty());

  std::vector<std::string> all;
  browser.GetCellList("passives", all);
  EXPECT_EQ(all, (std::vector<std::string>{"cap", "diode", "ind", "res"}));
}

TEST(BrowserSelection, InitialSelectionTextTicksThatLibrary) {
  BrowserWindow w;
  C5XBrowserUI browser(DemoProjectPath(), "demo");
  browser.ShowBrowserTree(w.window(), 4, kTreeRect, kNone, nullptr, nullptr, "passives", 0, 1);
  EXPECT_EQ(Libs(browser), (std::vector<std::string>{"passives"}));
}
