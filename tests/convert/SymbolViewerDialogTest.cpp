// The symbol viewer dialog, headless, over a copy of the example project, with the real
// browser and launcher; the stand-in schematic editor draws the symbol into a PNG file.
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
#include "convert/CViewSymbol.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"

namespace fs = std::filesystem;

namespace {

class SymbolViewerDialogTest : public DemoDialogTest<CViewSymbol> {
 protected:
  void SetUp() override {
    DemoDialogTest::SetUp();
    projectDir = projectFile.parent_path().string() + "/";
    setenv("KESTRA_LAUNCH_LOG", (dir.str() + "/launch.log").c_str(), 1);
    setenv("TESSEL_PNG", (dir.str() + "/shown.png").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("KESTRA_LAUNCH_LOG");
    unsetenv("TESSEL_PNG");
    DemoDialogTest::TearDown();
  }

  std::vector<nlohmann::json> Launches() const {
    std::vector<nlohmann::json> lines;
    std::istringstream in(ReadFile(dir.path() / "launch.log"));
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
  }

  std::string projectDir;
};

}  // namespace

TEST_F(SymbolViewerDialogTest, ViewsAProjectSymbolInTheEditor) {
  const int code = RunDialog([&](CViewSymbol& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "View Symbol");
    EXPECT_EQ(d.GetDlgItemText(13005), "&View");
    EXPECT_EQ(d.GetDlgItemText(8), "&Close");
    EXPECT_EQ(d.GetDlgItemText(9), "&Help");
    // The choosers at their places; the project has reference libraries, so the library
    // type can be chosen.
    const std::vector<std::pair<const char*, QPoint>> places = {{"libraryTypeChooser", {140, 10}},
                                                                {"libraryChooser", {100, 40}},
                                                                {"cellChooser", {100, 80}},
                                                                {"viewChooser", {100, 120}}};
    for (const auto& [name, at] : places) {
      auto* combo = d.findChild<QComboBox*>(name);
      ASSERT_NE(combo, nullptr) << name;
      EXPECT_EQ(combo->geometry().topLeft(), at) << name;
    }
    // Every view of the cell is offered; the user picks the symbol.
    Choose(d, "cellChooser", "74ls125");
    auto* views = d.findChild<QComboBox*>("viewChooser");
    ASSERT_EQ(views->count(), 4);
    EXPECT_EQ(views->itemText(0), "package");
    EXPECT_NE(views->findText("verilog"), -1);
    Choose(d, "viewChooser", "sym_1");
    d.ClickDlgItem(CViewSymbol::IDC_VIEW);
  });
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(Messages().empty());
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0]["operation"], "launchTessel");
  EXPECT_EQ(launches[0]["arguments"],
            " -proj \"" + projectFile.string() + "\" -lib standard -cell 74ls125 -view sym_1");
  EXPECT_EQ(launches[0]["product"], "test");
  // The editor found the part from the project and drew it.
  EXPECT_TRUE(WaitForFile(dir.path() / "shown.png"));
  EXPECT_FALSE(fs::exists(projectDir + "temp/demo_tmp.tak"));
}

TEST_F(SymbolViewerDialogTest, ViewsAReferenceSymbolThroughTheTemporaryProject) {
  const auto viewReference = [&](CViewSymbol& d) {
    auto* type = d.findChild<QComboBox*>("libraryTypeChooser");
    ASSERT_NE(type, nullptr);
    type->setCurrentIndex(1);
    EXPECT_EQ(d.Browser()->IsRefLibSelected(), 1);
    Choose(d, "libraryChooser", "refparts");
    Choose(d, "cellChooser", "lm358");
    Choose(d, "viewChooser", "sym_1");
    d.ClickDlgItem(CViewSymbol::IDC_VIEW);
  };
  // Without the project's "temp" folder the temporary project cannot be made: nothing starts.
  fs::rename(projectDir + "temp", projectDir + "temp.away");
  RunDialog(viewReference);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Unable to load the created temp. project back in the memory");
  EXPECT_FALSE(fs::exists(projectDir + "temp"));
  EXPECT_FALSE(fs::exists(dir.path() / "launch.log"));
  fs::rename(projectDir + "temp.away", projectDir + "temp");

  prompter->messages.clear();
  RunDialog(viewReference);
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  const std::string temp = projectDir + "temp/demo_tmp.tak";
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0]["arguments"], " -proj \"" + temp + "\" -qvdlib \"" + projectDir +
                                          "refqvd.lib\" -lib refparts -cell lm358 -view sym_1");
  EXPECT_NE(ReadFile(temp).find("'refparts' 'standard'"), std::string::npos) << ReadFile(temp);
  // The editor accepted the library because the temporary project names it.
  EXPECT_TRUE(WaitForFile(dir.path() / "shown.png"));
}

TEST_F(SymbolViewerDialogTest, MissingChoicesAreToldAndNothingStarts) {
  // A library without parts and a part without any view.
  fs::create_directories(dir.path() / "empty");
  fs::create_directories(projectDir + "libs/standard/zz_nosymbol");
  std::ofstream(projectDir + "qvd.lib", std::ios::app)
      << "bare " << (dir.path() / "empty").string() << "\n";
  setenv("KESTRA_HELP_LOG", (dir.str() + "/help.log").c_str(), 1);
  RunDialog([&](CViewSymbol& d) {
    Choose(d, "libraryChooser", "bare");
    d.ClickDlgItem(CViewSymbol::IDC_VIEW);
    Choose(d, "libraryChooser", "standard");
    Choose(d, "cellChooser", "zz_nosymbol");
    d.ClickDlgItem(CViewSymbol::IDC_VIEW);
    d.ClickDlgItem(CViewSymbol::IDC_HELP);
  });
  unsetenv("KESTRA_HELP_LOG");
  const std::vector<std::string> messages = Messages();
  ASSERT_GE(messages.size(), 2u);  // and the help page's, when it is not installed
  EXPECT_EQ(messages[0], "Please select a cell");
  EXPECT_EQ(messages[1], "Please select a symbol to be viewed");
  EXPECT_TRUE(Launches().empty());
  EXPECT_EQ(ReadFile(dir.path() / "help.log"), "help: topic 143370\n");
}
