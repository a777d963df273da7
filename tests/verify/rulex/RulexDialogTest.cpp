// The rules-checker dialog, headless, over a copy of the example project, with the real
// browser, launcher and stand-in rules checker.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "DemoDialogTest.h"
#include "TempDir.h"
#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "verify/rulex/CRulexVerification.h"
#include "verify/rulex/RulexConsoleRun.h"
#include "verify/rulex/RulexRules.h"

namespace fs = std::filesystem;

namespace {

class RulexDialogTest : public DemoDialogTest<CRulexVerification> {};

}  // namespace

TEST_F(RulexDialogTest, OpensInMinimalModeWithEveryControl) {
  const int code = RunDialog([&](CRulexVerification& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "Verify Tessel Libraries using Rules Checker");
    EXPECT_EQ(d.size(), QSize(720, 436));
    EXPECT_TRUE(d.IsDlgButtonChecked(13000));
    EXPECT_FALSE(d.IsDlgButtonChecked(13001));
    for (const RulexRule& rule : RulexRuleTable()) {
      EXPECT_TRUE(d.IsDlgButtonChecked(rule.controlId));
      EXPECT_EQ(d.GetDlgItemText(rule.controlId), rule.caption);
    }
    EXPECT_FALSE(d.IsDlgItemEnabled(13030));
    EXPECT_TRUE(d.IsDlgItemEnabled(1));
    EXPECT_EQ(d.GetDlgItemText(13000), "&Minimal Checks");
    EXPECT_EQ(d.GetDlgItemText(13001), "&Advanced Checks (Launches Rules Checker)");
    EXPECT_EQ(d.GetDlgItemText(13030), "&Launch Rules Checker");
    EXPECT_EQ(d.GetDlgItemText(1), "V&erify");
    EXPECT_EQ(d.GetDlgItemText(8), "&Close");
    EXPECT_EQ(d.GetDlgItemText(9), "&Help");

    // The check boxes stand from top to bottom in the order 13025, 13027, 13026, 13028, 13029.
    const int order[] = {13025, 13027, 13026, 13028, 13029};
    for (int i = 1; i < 5; ++i) {
      EXPECT_LT(d.GetDlgItemRect(order[i - 1]).top, d.GetDlgItemRect(order[i]).top);
    }
    // The browser tree starts where it was asked to and fills the left group box; the
    // project has reference libraries, so the library-type chooser is offered. The dialog
    // opens at its template's size, which is its least.
    auto* tree = d.findChild<QTreeWidget*>("browserTree");
    ASSERT_NE(tree, nullptr);
    auto* left = d.findChild<QGroupBox*>("libraryGroup");
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(tree->geometry().topLeft(), QPoint(20, 65));
    EXPECT_TRUE(left->geometry().contains(tree->geometry()));
    EXPECT_GT(tree->geometry().bottom(), left->geometry().bottom() - 12);
    EXPECT_EQ(d.minimumSize(), d.size());
    EXPECT_NE(d.findChild<QWidget*>("libraryTypeChooser"), nullptr);
    EXPECT_NE(LibraryItem(d, "standard"), nullptr);

    // Made larger (a long library list needs room): the tree grows inside its group, and
    // every button stays inside the dialog, clear of the tree.
    const QRect opened = tree->geometry();
    d.resize(d.width() * 2, d.height() * 2);
    EXPECT_GT(tree->height(), opened.height() * 3 / 2);
    EXPECT_GT(tree->width(), opened.width() * 3 / 2);
    EXPECT_TRUE(left->geometry().contains(tree->geometry()));
    for (int id : {1, 8, 9, 13030, 13025}) {
      const QRect control = d.GetDlgItem(id)->geometry();
      EXPECT_TRUE(d.rect().contains(control)) << id;
      EXPECT_FALSE(left->geometry().intersects(control)) << id;
    }
  });
  EXPECT_EQ(code, 8);
}

TEST_F(RulexDialogTest, ModesSwitchControlsAndMinimalModeReselectsAllRules) {
  RunDialog([&](CRulexVerification& d) {
    d.CheckDlgButton(13026, false);
    d.ClickDlgItem(13001);
    EXPECT_TRUE(d.IsDlgButtonChecked(13001));
    EXPECT_FALSE(d.IsDlgButtonChecked(13000));
    EXPECT_TRUE(d.IsDlgItemEnabled(13030));
    EXPECT_FALSE(d.IsDlgItemEnabled(1));
    for (const RulexRule& rule : RulexRuleTable()) EXPECT_FALSE(d.IsDlgItemEnabled(rule.controlId));
    EXPECT_FALSE(d.IsDlgButtonChecked(13026)) << "check marks stay while disabled";

    d.ClickDlgItem(13001);  // clicking the checked radio button keeps it checked
    EXPECT_TRUE(d.IsDlgButtonChecked(13001));

    d.ClickDlgItem(13000);
    EXPECT_TRUE(d.IsDlgButtonChecked(13000));
    EXPECT_FALSE(d.IsDlgButtonChecked(13001));
    EXPECT_FALSE(d.IsDlgItemEnabled(13030));
    EXPECT_TRUE(d.IsDlgItemEnabled(1));
    for (const RulexRule& rule : RulexRuleTable()) {
      EXPECT_TRUE(d.IsDlgItemEnabled(rule.controlId));
      EXPECT_TRUE(d.IsDlgButtonChecked(rule.controlId));
    }
  });
}

TEST_F(RulexDialogTest, VerifyRefusesBadSelectionsWithTheirMessages) {
  RunDialog([&](CRulexVerification& d) {
    for (const RulexRule& rule : RulexRuleTable()) d.CheckDlgButton(rule.controlId, false);
    d.ClickDlgItem(1);
    EXPECT_EQ(d.RuleSelection(), 0);
    for (const RulexRule& rule : RulexRuleTable()) d.CheckDlgButton(rule.controlId, true);
    d.ClickDlgItem(1);  // no library ticked
    Tick(d, "standard");
    Tick(d, "passives");
    d.ClickDlgItem(1);  // two libraries
    d.ClickDlgItem(13001);
    d.ClickDlgItem(13030);  // Launch with two libraries
    EXPECT_TRUE(d.isVisible()) << "Verify never ends the dialog";
  });
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"No Rules Selected", "Select a cell/library for verification",
                                      "Only one library can be selected for verification",
                                      "Only one library can be selected for verification"}));
  for (const auto& m : prompter->messages) EXPECT_EQ(m.flags & MB_ICONERROR, 0u);
  EXPECT_FALSE(fs::exists(projectFile.parent_path() / "rulex")) << "nothing was run";
}

TEST_F(RulexDialogTest, VerifyRunsTheCheckerAndShowsTheVerdict) {
  // Long enough for the watcher's polls to see the progress dialog on a busy machine.
  setenv("KESTRA_RULEX_DELAY_MS", "300", 1);
  const fs::path runDir = projectFile.parent_path() / "." / "rulex";
  ResultsWatcher watcher;
  RunDialog([&](CRulexVerification& d) {
    Tick(d, "passives");
    d.ClickDlgItem(1);  // the whole clean library
    Tick(d, "standard", {"7432"});
    LibraryItem(d, "passives")->setCheckState(0, Qt::Unchecked);
    d.ClickDlgItem(1);  // one broken part
    EXPECT_EQ(ReadFile(runDir / "rx.dat").substr(0, 17), "\"standard.7432\"\n-");
    EXPECT_EQ(d.Progress().GetStatusText(), "Library : standard, Part : 7432");
  });
  ASSERT_EQ(watcher.messages.size(), 2u) << "each run shows one results dialog";
  EXPECT_EQ(watcher.messages[0], "View verification passed.  See log file for details.");
  EXPECT_EQ(watcher.messages[1], "View verification failed.  Errors:1 See log file for details.");
  EXPECT_GT(watcher.progressSeen, 0);
  EXPECT_TRUE(prompter->messages.empty());
  EXPECT_NE(ReadFile(runDir / "rx.msg").find("7432_DIP14 lacks property PART_NAME"),
            std::string::npos);
  // The temporary project names exactly the checked library and part.
  const std::string temp =
      ReadFile(command.GetProjectPath() + command.GetProjectName() + "_tmp.tak");
  EXPECT_NE(temp.find("design_name '7432'"), std::string::npos) << temp;
  unsetenv("KESTRA_RULEX_DELAY_MS");
}

TEST_F(RulexDialogTest, UnwritableRunDirectoryIsReportedAndNothingRuns) {
  // rundir names a path below a plain file: it cannot be created.
  std::string project = ReadFile(projectFile);
  project.replace(project.find("rundir './rulex'"), 16, "rundir './blocker/rulex'");
  dir.write("demo/demo.tak", project);
  dir.write("demo/blocker", "a file, not a folder");
  ResultsWatcher watcher;
  RunDialog([&](CRulexVerification& d) {
    Tick(d, "passives");
    d.ClickDlgItem(1);
  });
  ASSERT_EQ(prompter->messages.size(), 1u);
  EXPECT_NE(prompter->messages[0].text.find("run directory"), std::string::npos);
  EXPECT_EQ(prompter->messages[0].flags & MB_ICONERROR, unsigned(MB_ICONERROR));
  EXPECT_TRUE(watcher.messages.empty());
  EXPECT_EQ(watcher.progressSeen, 0);
}

TEST_F(RulexDialogTest, HelpShowsTopic143361) {
  const fs::path log = dir.path() / "help.log";
  setenv("KESTRA_HELP_LOG", log.c_str(), 1);
  setenv("KESTRA_NONINTERACTIVE", "1", 1);  // no browser window from a test
  RunDialog([&](CRulexVerification& d) { d.ClickDlgItem(9); });
  unsetenv("KESTRA_HELP_LOG");
  unsetenv("KESTRA_NONINTERACTIVE");
  EXPECT_EQ(ReadFile(log), "help: topic 143361\n");
}

TEST_F(RulexDialogTest, CancelShowsNoVerdictNotEvenAnEarlierOne) {
  const fs::path runDir = projectFile.parent_path() / "rulex";
  dir.write("demo/rulex/rx.msg", std::string(600, '.') + "\nTOTAL 0 0 0 0 0 0\n");
  setenv("KESTRA_RULEX_DELAY_MS", "400", 1);  // seven parts: long enough to cancel
  ResultsWatcher watcher;
  watcher.cancelProgress = true;
  RunDialog([&](CRulexVerification& d) {
    Tick(d, "standard");
    d.ClickDlgItem(1);
    EXPECT_FALSE(d.Progress().IsCancelled()) << "the flag is cleared at the end message";
  });
  unsetenv("KESTRA_RULEX_DELAY_MS");
  EXPECT_EQ(watcher.progressSeen > 0, true);
  EXPECT_TRUE(watcher.messages.empty()) << watcher.messages.front();
  EXPECT_TRUE(prompter->messages.empty());
  EXPECT_FALSE(fs::exists(runDir / "rx.msg")) << "the stopped checker wrote no log";
}

TEST_F(RulexDialogTest, LaunchStartsTheCheckersWindowOnTheSelection) {
  const fs::path log = dir.path() / "launch.log";
  setenv("KESTRA_LAUNCH_LOG", log.c_str(), 1);
  dir.write("demo/rulex/rx.dat", "\"standard.7432\"\n-r old");
  RunDialog([&](CRulexVerification& d) {
    d.ClickDlgItem(13001);
    Tick(d, "standard", {"7400", "7404"});
    d.ClickDlgItem(13030);
  });
  unsetenv("KESTRA_LAUNCH_LOG");
  EXPECT_TRUE(prompter->messages.empty()) << prompter->messages.front().text;
  EXPECT_EQ(ReadFile(projectFile.parent_path() / "rulex" / "rx.dat"), "");
  const std::string launches = ReadFile(log);
  EXPECT_NE(launches.find("launchRulexUI"), std::string::npos) << launches;
  const std::string dirText = command.GetProjectPath();
  EXPECT_NE(launches.find("-lib \\\"standard\\\" -cell \\\"7400\\\" -cell \\\"7404\\\""),
            std::string::npos)
      << launches;
  const std::string temp =
      ReadFile(command.GetProjectPath() + command.GetProjectName() + "_tmp.tak");
  EXPECT_NE(temp.find("library 'standard'"), std::string::npos) << temp;
  EXPECT_EQ(temp.find("design_name"), std::string::npos) << "only library is rewritten";
}

TEST_F(RulexDialogTest, TheDialogAndTheVerbGiveTheSameResult) {
  ResultsWatcher watcher;
  std::vector<VerifyResult> dialog;
  RunDialog([&](CRulexVerification& d) {
    Tick(d, "standard", {"7432"});
    d.ClickDlgItem(1);
    dialog = d.Results();
  });
  ASSERT_EQ(dialog.size(), 1u);
  EXPECT_EQ(dialog[0].verdict, Verdict::Failed);
  ASSERT_FALSE(dialog[0].findings.empty());
  EXPECT_EQ(dialog[0].findings[0].object, "7432_DIP14");
  const FlowRun verb =
      RulexVerifyFlow().run({"-proj", projectFile.string(), "-lib", "standard", "-cell", "7432"});
  ExpectSameResults(dialog, verb.results);
}
