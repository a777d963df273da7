// The chained choosers (library, cell, view) over the example project: placement, chaining,
// view-type filters, preselection and enabling, as the symbol viewer and the simulation
// views editor use them.
#include <gtest/gtest.h>

#include "BrowserFixture.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "outside/C5XBrowserUI.h"

namespace {

using Names = std::vector<std::string>;

void ShowViewerChoosers(C5XBrowserUI& browser, BrowserWindow& w) {
  browser.ShowBrowserCombo(w.window(), 1, {100, 40, 250, 140}, {20, 40, 80, 60}, 6);
  browser.ShowBrowserCombo(w.window(), 2, {100, 80, 250, 180}, {20, 80, 80, 100}, 6);
  browser.ShowBrowserCombo(w.window(), 3, {100, 120, 250, 220}, {20, 120, 80, 140}, 0);
}

}  // namespace

TEST(BrowserChoosers, ChainFollowsTheChoiceAndTheViewTypeFilters) {
  BrowserWindow w;
  C5XBrowserUI browser(DemoProjectPath(), "demo");
  ShowViewerChoosers(browser, w);
  QComboBox* lib = w.Chooser("libraryChooser");
  QComboBox* cell = w.Chooser("cellChooser");
  ASSERT_NE(lib, nullptr);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(lib->geometry().topLeft(), QPoint(100, 40));
  EXPECT_EQ(lib->width(), 150);

  EXPECT_EQ(w.Entries("libraryChooser"),
            (Names{"standard", "passives", "simcells", "packs", "tmplparts"}));
  EXPECT_EQ(w.Entries("cellChooser"),
            (Names{"7400", "7404", "7408", "7432", "7486", "74ls125", "74ls244"}));
  EXPECT_EQ(w.Entries("viewChooser"), (Names{"package", "sym_1", "verilog", "vhdl"}));
  EXPECT_EQ(browser.GetSelectedLib(), "standard");
  EXPECT_EQ(browser.GetSelectedCell(), "7400");
  EXPECT_EQ(browser.GetSelectedView(), "package");

  lib->setCurrentIndex(1);  // the user picks "passives"
  EXPECT_EQ(browser.GetSelectedLib(), "passives");
  EXPECT_EQ(browser.GetSelectedCell(), "cap");
  cell->setCurrentIndex(cell->findText("res"));
  EXPECT_EQ(browser.GetSelectedCell(), "res");

  for (const auto& [type, expected] :
       {std::pair{6, Names{"sym_1"}}, std::pair{7, Names{"vhdl"}}, std::pair{8, Names{"verilog"}},
        std::pair{0, Names{"package", "sym_1", "verilog", "vhdl"}}, std::pair{42, Names{}}}) {
    browser.SetViewFilter(type);
    browser.FillCombo(3);
    EXPECT_EQ(w.Entries("viewChooser"), expected) << "view type " << type;
  }
  EXPECT_EQ(browser.GetSelectedView(), "");  // nothing offered under an unknown type
  std::vector<std::string> selected;
  browser.GetSelectedLibList(selected);  // without a tree: the chooser's library
  EXPECT_EQ(selected, (Names{"passives"}));

  browser.EnableBrowserCombo(0, 3);
  EXPECT_FALSE(w.Chooser("viewChooser")->isEnabled());
  browser.EnableBrowserCombo(1, 3);
  EXPECT_TRUE(w.Chooser("viewChooser")->isEnabled());
}

TEST(BrowserChoosers, PreselectionAndSharedTreesForASecondBrowser) {
  BrowserWindow w;
  C5XBrowserUI main(DemoProjectPath(), "demo");
  main.SetSelectedLib("passives");
  main.SetSelectedCell("diode");
  main.ShowBrowserCombo(w.window(), 1, {100, 40, 250, 140}, {20, 40, 80, 60}, 6);
  main.ShowBrowserCombo(w.window(), 2, {100, 80, 250, 180}, {20, 80, 80, 100}, 6);
  main.ShowBrowserCombo(w.window(), 3, {240, 253, 375, 335}, {0, 0, 0, 0}, 8);
  EXPECT_EQ(main.GetSelectedLib(), "passives");
  EXPECT_EQ(main.GetSelectedCell(), "diode");
  EXPECT_EQ(main.GetSelectedView(), "verilog");

  // The second browser of the simulation views editor takes over the main one's trees and
  // shows only a VHDL view chooser; it reads nothing the main browser has read already.
  BrowserWindow w2;
  C5XBrowserUI second(DemoProjectPath(), "demo");
  second.SetSelectedLib(main.GetSelectedLib());
  second.SetSelectedCell(main.GetSelectedCell());
  C5XBrowserData* mainData = main.GetBrowserData();
  C5XBrowserData* secondData = second.GetBrowserData();
  secondData->InitialiseBuildTree(mainData->GetBuildTree());
  secondData->InitialiseRefTree(mainData->GetRefTree());
  EXPECT_EQ(secondData->GetBuildTree(), mainData->GetBuildTree());
  const int readsBefore = mainData->GetBuildTree()->DirectoryReads();
  second.ShowBrowserCombo(w2.window(), 3, {240, 335, 375, 425}, {0, 0, 0, 0}, 7);
  EXPECT_EQ(w2.Entries("viewChooser"), (Names{"vhdl"}));
  EXPECT_EQ(second.GetSelectedView(), "vhdl");
  EXPECT_EQ(mainData->GetBuildTree()->DirectoryReads(), readsBefore);
  EXPECT_EQ(w2.Chooser("libraryChooser"), nullptr);

  // A preselected name that is not listed falls back to the first entry.
  main.SetSelectedLib("nosuch");
  EXPECT_EQ(main.GetSelectedLib(), "standard");
}

TEST(BrowserChoosers, TwoBrowsersShareAPlaceForTheirViewChoosers) {
  BrowserWindow w;
  auto main = std::make_unique<C5XBrowserUI>(DemoProjectPath(), "demo");
  main->ShowBrowserCombo(w.window(), 1, {100, 40, 250, 140}, {20, 40, 80, 60}, 6);
  main->ShowBrowserCombo(w.window(), 2, {100, 80, 250, 180}, {20, 80, 80, 100}, 6);
  main->ShowBrowserCombo(w.window(), 3, {240, 253, 375, 335}, {0, 0, 0, 0}, 8);
  C5XBrowserUI second(DemoProjectPath(), "demo");
  second.GetBrowserData()->InitialiseBuildTree(main->GetBrowserData()->GetBuildTree());
  second.ShowBrowserCombo(w.window(), 3, {240, 335, 375, 425}, {0, 0, 0, 0}, 7);
  second.CopyViewChooserSetting(*main);
  const auto choosers = w.window()->findChildren<QComboBox*>("viewChooser");
  ASSERT_EQ(choosers.size(), 2);
  QComboBox* verilog = choosers[0]->y() == 253 ? choosers[0] : choosers[1];
  QComboBox* vhdl = verilog == choosers[0] ? choosers[1] : choosers[0];
  const auto entries = [](QComboBox* c) {
    Names names;
    for (int i = 0; i < c->count(); ++i) names.push_back(c->itemText(i).toStdString());
    return names;
  };
  // The second browser lists the views of the main browser's choice, by its own view type.
  EXPECT_EQ(entries(verilog), (Names{"verilog"}));
  EXPECT_EQ(entries(vhdl), (Names{"vhdl"}));
  EXPECT_EQ(second.GetSelectedView(), "vhdl");
  main->SetSelectedLib("passives");
  EXPECT_EQ(main->GetSelectedCell(), "cap");
  EXPECT_EQ(second.GetSelectedView(), "vhdl");

  // Exchanged: each browser reads, fills and enables the chooser it holds now.
  main->ExchangeViewChooser(second);
  EXPECT_EQ(main->GetSelectedView(), "vhdl");
  EXPECT_EQ(second.GetSelectedView(), "verilog");
  main->EnableBrowserCombo(0, 3);
  EXPECT_FALSE(vhdl->isEnabled());
  EXPECT_TRUE(verilog->isEnabled());
  main->SetViewFilter(0);
  main->FillCombo(3);
  EXPECT_EQ(entries(vhdl), (Names{"package", "sym_1", "verilog", "vhdl"}));
  EXPECT_EQ(entries(verilog), (Names{"verilog"}));
  vhdl->setCurrentIndex(1);  // the user's choice reaches the browser that holds the chooser
  EXPECT_EQ(main->GetSelectedView(), "sym_1");
  main->ExchangeViewChooser(second);
  EXPECT_EQ(main->GetSelectedView(), "verilog");
  EXPECT_EQ(second.GetSelectedView(), "sym_1");

  // The second browser outlives the main one: its list stays, nothing dangles.
  main.reset();
  second.FillCombo(3);
  EXPECT_EQ(second.GetSelectedView(), "sym_1");
}
