// The simulation views editor, headless, over a copy of the example project, with the real
// browsers and launcher and the stand-in part-authoring tool.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "DemoDialogTest.h"
#include "TempDir.h"
#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "verify/simviews/CEditSimulationViews.h"

namespace fs = std::filesystem;
using Dlg = CEditSimulationViews;

namespace {

class SimViewsDialogTest : public DemoDialogTest<Dlg> {
 protected:
  void SetUp() override {
    DemoDialogTest::SetUp();
    libs = projectFile.parent_path() / "libs";
    setenv("KESTRA_LAUNCH_LOG", (dir.str() + "/launch.log").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("KESTRA_LAUNCH_LOG");
    DemoDialogTest::TearDown();
  }

  std::vector<std::string> LaunchArguments() const {
    std::vector<std::string> texts;
    std::istringstream in(ReadFile(dir.path() / "launch.log"));
    for (std::string line; std::getline(in, line);) {
      const auto record = nlohmann::json::parse(line);
      EXPECT_EQ(record["operation"], "launchMld");
      EXPECT_EQ(record["product"], "test");
      texts.push_back(record["arguments"]);
    }
    return texts;
  }
  std::string Head(const std::string& lib, const std::string& cell) const {
    return " -proj \"" + projectFile.string() + "\" -lib " + lib + " -cell " + cell;
  }
  fs::path libs;
};

// The view chooser shown at the Verilog place (top 253) or the VHDL place (top 335).
QComboBox* ViewChooserAt(Dlg& d, int top) {
  for (auto* combo : d.findChildren<QComboBox*>("viewChooser")) {
    if (combo->geometry().top() == top) return combo;
  }
  return nullptr;
}

std::vector<std::string> Entries(QComboBox* combo) {
  std::vector<std::string> texts;
  for (int i = 0; combo && i < combo->count(); ++i)
    texts.push_back(combo->itemText(i).toStdString());
  return texts;
}

}  // namespace

TEST_F(SimViewsDialogTest, OpensOnANewVerilogWrapperAndOkStartsTheTool) {
  setenv("KESTRA_HELP_LOG", (dir.str() + "/help.log").c_str(), 1);
  const int code = RunDialog([&](Dlg& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "VHDL/Verilog Support");
    const std::vector<std::pair<int, std::string>> captions = {
        {13021, "Verilog &Wrapper/Map File"},
        {13024, "C&reate new Wrapper"},
        {13022, "Cr&eate new MapFile"},
        {13023, "Open e&xisting Wrapper/MapFile"},
        {13003, "&VHDL Wrapper/Map File"},
        {13005, "Cre&ate new Wrapper"},
        {13006, "Create &new MapFile"},
        {13004, "O&pen existing Wrapper/MapFile"},
        {1, "&OK"},
        {8, "&Close"},
        {9, "&Help"}};
    for (const auto& [id, caption] : captions) EXPECT_EQ(d.GetDlgItemText(id), caption) << id;
    for (int id : {13021, 13024}) EXPECT_TRUE(d.IsDlgButtonChecked(id)) << id;
    for (int id : {13022, 13023, 13003, 13005, 13006, 13004})
      EXPECT_FALSE(d.IsDlgButtonChecked(id)) << id;
    for (int id : {13024, 13022, 13023}) EXPECT_TRUE(d.IsDlgItemEnabled(id)) << id;
    for (int id : {13005, 13006, 13004}) EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
    EXPECT_EQ(d.findChild<QComboBox*>("libraryChooser")->geometry().topLeft(), QPoint(100, 40));
    EXPECT_EQ(d.findChild<QComboBox*>("cellChooser")->geometry().topLeft(), QPoint(100, 80));
    QComboBox* verilog = ViewChooserAt(d, 253);
    QComboBox* vhdl = ViewChooserAt(d, 335);
    ASSERT_TRUE(verilog && vhdl);
    EXPECT_EQ(verilog->geometry().left(), 240);
    EXPECT_EQ(Entries(verilog), (std::vector<std::string>{"verilog"}));
    EXPECT_EQ(Entries(vhdl), (std::vector<std::string>{"vhdl"}));
    EXPECT_FALSE(verilog->isEnabled());
    EXPECT_FALSE(vhdl->isEnabled());
    EXPECT_TRUE(d.VerilogViewsActive());
    d.ClickDlgItem(IDOK);
    d.ClickDlgItem(Dlg::IDC_HELP);
  });
  unsetenv("KESTRA_HELP_LOG");
  EXPECT_EQ(code, 8);
  EXPECT_EQ(LaunchArguments(),
            (std::vector<std::string>{Head("standard", "7400") + " -newVerilogWrapper junk"}));
  EXPECT_EQ(ReadFile(dir.path() / "help.log"), "help: topic 143362\n");
  // The stand-in tool made the wrapper beside the part's own one.
  EXPECT_TRUE(WaitForFile(libs / "standard" / "7400" / "verilog_1" / "7400.v"));
}

TEST_F(SimViewsDialogTest, FamiliesSwitchAndTheViewChoosersAreExchanged) {
  // A part with several views of each family, so that the lists tell the families apart.
  for (const char* view : {"verilog_fast", "vhdl_rtl"})
    fs::create_directories(libs / "passives" / "res" / view);
  RunDialog([&](Dlg& d) {
    Choose(d, "libraryChooser", "passives");
    Choose(d, "cellChooser", "res");
    QComboBox* verilog = ViewChooserAt(d, 253);
    QComboBox* vhdl = ViewChooserAt(d, 335);
    ASSERT_TRUE(verilog && vhdl);
    // Both choosers follow the main browser's library and cell.
    EXPECT_EQ(Entries(verilog), (std::vector<std::string>{"verilog", "verilog_fast"}));
    EXPECT_EQ(Entries(vhdl), (std::vector<std::string>{"vhdl", "vhdl_rtl"}));

    d.ClickDlgItem(13022);  // Verilog: new map file
    EXPECT_FALSE(d.IsDlgButtonChecked(13024));
    d.ClickDlgItem(IDOK);

    d.ClickDlgItem(13023);  // Verilog: open existing; the Verilog chooser is already active
    EXPECT_TRUE(d.IsDlgButtonChecked(13023));
    EXPECT_FALSE(d.IsDlgButtonChecked(13022));
    EXPECT_TRUE(verilog->isEnabled());
    verilog->setCurrentIndex(1);
    EXPECT_EQ(d.MainBrowser()->GetSelectedView(), "verilog_fast");
    d.ClickDlgItem(IDOK);

    d.ClickDlgItem(13003);  // VHDL family: every Verilog button off and disabled
    for (int id : {13021, 13024, 13022, 13023}) EXPECT_FALSE(d.IsDlgButtonChecked(id)) << id;
    for (int id : {13024, 13022, 13023}) EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
    EXPECT_TRUE(d.IsDlgButtonChecked(13005));
    EXPECT_FALSE(verilog->isEnabled());
    d.ClickDlgItem(IDOK);
    d.ClickDlgItem(13006);  // VHDL: new map file
    d.ClickDlgItem(IDOK);

    d.ClickDlgItem(13004);  // VHDL: open existing exchanges the choosers
    EXPECT_FALSE(d.VerilogViewsActive());
    EXPECT_TRUE(vhdl->isEnabled());
    EXPECT_FALSE(verilog->isEnabled());
    EXPECT_EQ(d.MainBrowser()->GetSelectedView(), "vhdl");
    vhdl->setCurrentIndex(1);
    EXPECT_EQ(d.MainBrowser()->GetSelectedView(), "vhdl_rtl");
    d.ClickDlgItem(13004);  // again: no second exchange
    EXPECT_FALSE(d.VerilogViewsActive());
    EXPECT_EQ(d.MainBrowser()->GetSelectedView(), "vhdl_rtl");
    d.ClickDlgItem(IDOK);

    // Another cell: both choosers list its views, whichever browser holds them.
    Choose(d, "cellChooser", "cap");
    EXPECT_EQ(Entries(vhdl), (std::vector<std::string>{"vhdl"}));
    EXPECT_EQ(Entries(verilog), (std::vector<std::string>{"verilog"}));
    Choose(d, "cellChooser", "res");

    d.ClickDlgItem(13023);  // disabled while the VHDL family is chosen: nothing happens
    EXPECT_FALSE(d.VerilogViewsActive());
    d.ClickDlgItem(13021);  // the Verilog family, then its open existing: exchanged again
    EXPECT_FALSE(d.VerilogViewsActive());
    d.ClickDlgItem(13023);
    EXPECT_TRUE(d.VerilogViewsActive());
    EXPECT_TRUE(verilog->isEnabled());
    EXPECT_FALSE(vhdl->isEnabled());
    EXPECT_FALSE(d.IsDlgButtonChecked(13004));
    EXPECT_EQ(d.MainBrowser()->GetSelectedView(), "verilog");
    d.ClickDlgItem(IDOK);

    d.ClickDlgItem(13021);  // Verilog family again: a new wrapper, chooser disabled
    EXPECT_TRUE(d.IsDlgButtonChecked(13024));
    EXPECT_FALSE(verilog->isEnabled());
    d.ClickDlgItem(IDOK);
  });
  EXPECT_TRUE(Messages().empty());
  // The tools run detached: the last one has made its wrapper before the folder goes.
  EXPECT_TRUE(WaitForFile(libs / "passives" / "res" / "verilog_1" / "res.v"));
  const std::string head = Head("passives", "res");
  EXPECT_EQ(LaunchArguments(), (std::vector<std::string>{
                                   head + " -newVerilogMapFile junk",
                                   head + " -openVerilog verilog_fast",
                                   head + " -newVhdlWrapper junk",
                                   head + " -newVhdlMapFile junk",
                                   head + " -openVhdl vhdl_rtl",
                                   head + " -openVerilog verilog",
                                   head + " -newVerilogWrapper junk",
                               }));
}

TEST_F(SimViewsDialogTest, MissingChoicesAreToldAndNothingStarts) {
  fs::create_directories(libs / "standard" / "zz_plain" / "sym_1");
  fs::create_directories(dir.path() / "empty");
  std::ofstream(projectFile.parent_path() / "qvd.lib", std::ios::app)
      << "bare " << (dir.path() / "empty").string() << "\n";
  RunDialog([&](Dlg& d) {
    Choose(d, "cellChooser", "zz_plain");
    for (int id : {13003, 13004, int{IDOK}, 13021, 13023, int{IDOK}}) d.ClickDlgItem(id);
    Choose(d, "libraryChooser", "bare");
    d.ClickDlgItem(IDOK);
  });
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Please select a VHDL wrapper/map file",
                                                  "Please select a Verilog wrapper/map file",
                                                  "Please select a cell"}));
  EXPECT_TRUE(LaunchArguments().empty());
}
