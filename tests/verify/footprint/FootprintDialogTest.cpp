// The footprint dialog and its location dialog, headless, over a copy of the example project,
// with the real launcher and the stand-in layout editor and setup tool.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "DemoDialogTest.h"
#include "TempDir.h"
#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "framework/WindowMessage.h"
#include "verify/footprint/CLocationDlg.h"
#include "verify/footprint/CViewFootprint.h"
#include "verify/footprint/FootprintTexts.h"

namespace fs = std::filesystem;

namespace {

class FootprintDialogTest : public DemoDialogTest<CViewFootprint> {
 protected:
  void SetUp() override {
    DemoDialogTest::SetUp();
    projectDir = projectFile.parent_path().string();
    launchLog = dir.str() + "/launch.log";
    helpLog = dir.str() + "/help.log";
    ::setenv("KESTRA_LAUNCH_LOG", launchLog.c_str(), 1);
    ::setenv("KESTRA_HELP_LOG", helpLog.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("KESTRA_LAUNCH_LOG");
    ::unsetenv("KESTRA_HELP_LOG");
    ::unsetenv("KESTRA_SETUPDESK_ADD_PSMPATH");
    ::unsetenv("KESTRA_NONINTERACTIVE");
    DemoDialogTest::TearDown();
  }

  // Runs the dialog modally; `script` acts on it once it is open, then Close ends it.
  int RunDialog(const std::string& mode, const std::function<void(CViewFootprint&)>& script) {
    CViewFootprint dialog(&command, command.GetLauncher(), mode);
    QTimer::singleShot(0, &dialog, [&] {
      script(dialog);
      dialog.ClickDlgItem(CViewFootprint::IDC_CLOSE);
    });
    return dialog.DoModal();
  }

  std::vector<nlohmann::json> Launches() const {
    std::vector<nlohmann::json> lines;
    std::istringstream in(ReadFile(launchLog));
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
  }
  std::string ViewerArguments(const std::string& folder, const std::string& name,
                              const std::string& verifyFile = "") const {
    std::string args = " -proj \"" + projectFile.string() + "\" -symbol \"" + projectDir + "/" +
                       folder + "/" + name + ".dra\"";
    if (!verifyFile.empty()) args += " -verify \"" + verifyFile + "\"";
    return args;
  }
  std::string VerifyFile() const { return projectDir + "/temp/pavrel_verify.txt"; }

  std::string projectDir;
  std::string launchLog;
  std::string helpLog;
};

std::vector<std::string> Names(CViewFootprint& dialog) {
  std::vector<std::string> names;
  for (long r = 1; r <= dialog.Grid().GetRowCount(); ++r)
    names.push_back(dialog.Grid().GetValueRowCol(r, 1));
  return names;
}

// Types a filter as the user would, one keystroke at a time.
void TypeFilter(CViewFootprint& dialog, const std::string& text) {
  auto* edit = dialog.DlgItem<QLineEdit>(CViewFootprint::IDC_FILTER);
  edit->clear();
  for (char c : text) edit->insert(QString(QChar(c)));
}

// Makes row `row` (from 1) current as a click would.
void Pick(CGXGridWnd& grid, long row) { ASSERT_TRUE(grid.SetCurrentCell(row, 1)); }

// Processes events until done() or a generous time for a child process has passed.
bool ToolWait(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 20000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

// Acts on the location dialog once it is open (it is modal inside View).
void WhenLocationOpens(const std::function<void(CLocationDlg&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* location = qobject_cast<CLocationDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(location, nullptr) << "no location dialog";
    act(*location);
  });
}

}  // namespace

TEST_F(FootprintDialogTest, StartUpListsBothKindsAndFiltersOnEveryKeystroke) {
  const int code = RunDialog("ViewFootprint", [&](CViewFootprint& dialog) {
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Footprint");
    EXPECT_EQ(dialog.GetDlgItemText(CViewFootprint::IDC_VIEW), "&View");
    EXPECT_EQ(dialog.GetDlgItemText(CViewFootprint::IDC_FILTER), "");
    const std::vector<std::string> all = Names(dialog);
    // ".psm" first in path order, then the ".dra"-only ones; every name once.
    EXPECT_EQ(all, (std::vector<std::string>{"CAP200", "DIP14", "DIP20", "DIP8", "IND300", "RES400",
                                             "QFP44", "SO14", "SO16", "SO8", "DO35", "SOIC8"}));
    CGXGridWnd& grid = dialog.Grid();
    EXPECT_TRUE(grid.IsColHidden(0));
    EXPECT_TRUE(grid.IsColHidden(2));
    EXPECT_EQ(grid.GetValueRowCol(0, 1), "Footprint");
    EXPECT_EQ(grid.GetValueRowCol(0, 2), "Location");
    EXPECT_EQ(grid.GetValueRowCol(11, 2), projectDir + "/footprints");
    EXPECT_EQ(grid.GetUserAttributeRowCol(2, 1, GX_IDS_UA_TOOLTIPTEXT), "DIP14");
    long row = 0, column = 0;
    ASSERT_TRUE(grid.GetCurrentCell(row, column));
    EXPECT_EQ(row, 1);

    // Each keystroke refills; the filter sees names in upper case.
    TypeFilter(dialog, "s");
    EXPECT_TRUE(Names(dialog).empty());
    TypeFilter(dialog, "so*");
    EXPECT_EQ(Names(dialog), (std::vector<std::string>{"SO14", "SO16", "SO8", "SOIC8"}));
    ASSERT_TRUE(grid.GetCurrentCell(row, column));
    EXPECT_EQ(row, 1);
    TypeFilter(dialog, "*1?");
    EXPECT_EQ(Names(dialog), (std::vector<std::string>{"DIP14", "SO14", "SO16"}));
    TypeFilter(dialog, "");
    EXPECT_EQ(Names(dialog), all);
  });
  EXPECT_EQ(code, 1) << "Close ends the footprint dialog with 1";
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(Launches().empty());
}

TEST_F(FootprintDialogTest, ViewChecksTheChoiceAndTheDrawingBeforeStartingTheViewer) {
  RunDialog("ViewFootprint", [&](CViewFootprint& dialog) {
    // A filter that matches nothing leaves nothing to view.
    TypeFilter(dialog, "NOTHING*");
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
    // Found only as ".psm": listed, but cannot be viewed.
    TypeFilter(dialog, "SO16");
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
    // Found in one place: the viewer starts at once.
    TypeFilter(dialog, "DIP14");
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
  });
  EXPECT_EQ(Messages(), (std::vector<std::string>{kNoFootprintChosen, kDrawingNotFound}));
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0]["operation"], "launchPavrel");
  EXPECT_EQ(launches[0]["product"], "test");
  EXPECT_EQ(launches[0]["arguments"], ViewerArguments("footprints", "DIP14"));
  EXPECT_FALSE(fs::exists(VerifyFile())) << "no verify file in view mode";
}

TEST_F(FootprintDialogTest, TwoLocationsAskWhichAndTheViewerGetsTheChosenFolder) {
  RunDialog("ViewFootprint", [&](CViewFootprint& dialog) {
    TypeFilter(dialog, "SO8");
    // The second folder of the path.
    WhenLocationOpens([&](CLocationDlg& location) {
      EXPECT_EQ(location.windowTitle().toStdString(), "Location");
      CGXGridWnd& grid = location.Grid();
      EXPECT_EQ(grid.GetRowCount(), 2);
      EXPECT_EQ(grid.GetValueRowCol(1, 1), "SO8");
      EXPECT_EQ(grid.GetValueRowCol(1, 2), projectDir + "/footprints");
      EXPECT_EQ(grid.GetValueRowCol(2, 2), projectDir + "/footprints_smd");
      EXPECT_EQ(grid.GetColWidth(1), 80);
      EXPECT_TRUE(grid.IsColHidden(0));
      EXPECT_FALSE(grid.IsColHidden(2));
      Pick(grid, 2);
      location.ClickDlgItem(IDOK);
    });
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
    // Cancelled: the viewer opens the first on the path.
    WhenLocationOpens([](CLocationDlg& location) { location.ClickDlgItem(IDCANCEL); });
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
    // OK without a row: told, and the dialog stays open until a row is picked.
    WhenLocationOpens([](CLocationDlg& location) {
      location.Grid().SetRowCount(0);
      location.ClickDlgItem(IDOK);
      EXPECT_TRUE(location.isVisible());
      location.ClickDlgItem(IDCANCEL);
    });
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
  });
  EXPECT_EQ(Messages(), (std::vector<std::string>{kNoLocationChosen}));
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 3u);
  EXPECT_EQ(launches[0]["arguments"], ViewerArguments("footprints_smd", "SO8"));
  EXPECT_EQ(launches[1]["arguments"], ViewerArguments("footprints", "SO8"));
  EXPECT_EQ(launches[2]["arguments"], ViewerArguments("footprints", "SO8"));
}

TEST_F(FootprintDialogTest, VerifyWritesTheVerifyFileOnEveryViewAndTheViewerChecks) {
  const std::string report = projectDir + "/temp/pavrel_verify.log";
  RunDialog(kFootprintVerifyMode, [&](CViewFootprint& dialog) {
    EXPECT_EQ(dialog.GetDlgItemText(CViewFootprint::IDC_VIEW), "&Verify");
    TypeFilter(dialog, "QFP44");
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
    EXPECT_EQ(ReadFile(VerifyFile()), "check symbol");
    // The stand-in layout editor checks the drawing and reports beside the verify file.
    ASSERT_TRUE(
        ToolWait([&] { return ReadFile(report).find("pavrel: check of") != std::string::npos; }));
    EXPECT_NE(ReadFile(report).find("line 4: pitch needs a number above 0"), std::string::npos)
        << ReadFile(report);
    EXPECT_NE(ReadFile(report).find("check of QFP44: failed (2 errors)"), std::string::npos);

    // Written again on the next View, before the search (even one that finds nothing).
    std::ofstream(VerifyFile(), std::ios::trunc) << "something else\n";
    TypeFilter(dialog, "SO16");
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
    EXPECT_EQ(ReadFile(VerifyFile()), "check symbol");

    // Without "temp" there is no verify file and nothing starts.
    fs::remove_all(projectDir + "/temp");
    TypeFilter(dialog, "DIP8");
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
    EXPECT_FALSE(fs::exists(projectDir + "/temp"));
  });
  EXPECT_EQ(Messages(), (std::vector<std::string>{kDrawingNotFound, kVerifyFileFailed}));
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0]["arguments"], ViewerArguments("footprints_smd", "QFP44", VerifyFile()));
}

TEST_F(FootprintDialogTest, SetupToolChangesThePathAndTheListIsBuiltAgain) {
  TempDir extra;
  extra.write("NEWPART.dra", "footprint NEWPART\npads 2\npitch 50\n");
  ::setenv("KESTRA_SETUPDESK_ADD_PSMPATH", extra.str().c_str(), 1);
  RunDialog("ViewFootprint", [&](CViewFootprint& dialog) {
    TypeFilter(dialog, "NEW*");
    EXPECT_TRUE(Names(dialog).empty());
    dialog.ClickDlgItem(CViewFootprint::IDC_SETUP);
    ASSERT_TRUE(ToolWait([&] { return !Names(dialog).empty(); })) << "no refresh";
    EXPECT_EQ(Names(dialog), (std::vector<std::string>{"NEWPART"}));
    EXPECT_EQ(dialog.Grid().GetValueRowCol(1, 2), extra.str());
    long row = 0, column = 0;
    EXPECT_TRUE(dialog.Grid().GetCurrentCell(row, column));
    // Any other end parameter is not an end of the setup tool.
    TypeFilter(dialog, "*");
    const auto before = Names(dialog);
    SendMessage(dialog.GetSafeHwnd(), WM_TOOL_ENDED, 0, 0);
    EXPECT_EQ(Names(dialog), before);
  });
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0]["operation"], "launchSetupDesk");
  EXPECT_EQ(launches[0]["arguments"], " -proj \"" + projectFile.string() + "\"");
  EXPECT_EQ(launches[0]["product"], "test");
  EXPECT_NE(ReadFile(projectFile).find(extra.str()), std::string::npos);
}

TEST_F(FootprintDialogTest, HelpTopicsByModeAndAnEmptyPathLeavesTheGridEmpty) {
  ::setenv("KESTRA_NONINTERACTIVE", "1", 1);  // help is written, not shown
  RunDialog(kFootprintVerifyMode,
            [](CViewFootprint& dialog) { dialog.ClickDlgItem(CViewFootprint::IDC_HELP); });
  RunDialog("ViewFootprint",
            [](CViewFootprint& dialog) { dialog.ClickDlgItem(CViewFootprint::IDC_HELP); });
  EXPECT_EQ(ReadFile(helpLog), "help: topic 143367\nhelp: topic 143368\n");

  // A project whose path holds no footprints: nothing listed, View says so.
  std::string text = ReadFile(projectFile);
  const std::string path = "PSMPATH './footprints' './footprints_smd'";
  ASSERT_NE(text.find(path), std::string::npos);
  text.replace(text.find(path), path.size(), "PSMPATH './nowhere'");
  std::ofstream(projectFile, std::ios::trunc) << text;
  const int code = RunDialog("ViewFootprint", [](CViewFootprint& dialog) {
    EXPECT_EQ(dialog.Grid().GetRowCount(), 0);
    dialog.ClickDlgItem(CViewFootprint::IDC_VIEW);
  });
  EXPECT_EQ(code, 1);
  EXPECT_EQ(Messages(), (std::vector<std::string>{kNoFootprintChosen}));
}
