// The results dialogs over a real project: a run's verdicts per part, the summary, and
// "View Log File" starting the project's editor through the real launcher (seen in the
// launch log).
#include <gtest/gtest.h>

#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

#include "TempDir.h"
#include "context/CKestraCmdContext.h"
#include "dialogs/CResultsDlg.h"
#include "dialogs/CResultsDlg1.h"
#include "framework/Prompter.h"
#include "verify/VerifyResult.h"

namespace {

// The install-level project file, found through the setup search path. The library
// remembers where it found it for the whole process, so it lives as long as the process.
const std::string& SetupSearchPath() {
  static const TempDir share;
  static const std::string path = [] {
    share.write("qvdsetup/projmgr/qvd.tak", "START_GLOBAL\nEND_GLOBAL\n");
    return share.str();
  }();
  return path;
}

// A project folder with its own search path and log, an editor that does nothing, and a
// launch log to see what was started.
class ResultsProject : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QSF_SEARCH_PATH", SetupSearchPath().c_str(), 1);
    setenv("KESTRA_LAUNCH_LOG", (dir_.str() + "/launch.log").c_str(), 1);
    setenv("VISUAL", "true", 1);
    previousPrompter_ = SetPrompter(std::make_unique<RecordingPrompter>());
    WriteProject("");
  }
  void TearDown() override {
    for (const char* name :
         {"QSF_SEARCH_PATH", "KESTRA_LAUNCH_LOG", "VISUAL", "KESTRA_TEST_EDITOR_DIR"})
      unsetenv(name);
    SetPrompter(std::move(previousPrompter_));
  }
  void WriteProject(const std::string& globalDirectives) {
    const auto file =
        dir_.write("proj/demo.tak", "START_GLOBAL\n" + globalDirectives + "END_GLOBAL\n");
    command_.SetProject(file.string());
  }
  void WritePart(const std::string& part, const std::string& status, const std::string& log) {
    dir_.write("proj/temp/" + part + ".stat", status);
    dir_.write("proj/temp/" + part + ".log", log);
  }
  // Every launch record written so far.
  std::vector<nlohmann::json> Launches() const {
    std::vector<nlohmann::json> records;
    std::istringstream lines(ReadFile(dir_.path() / "launch.log"));
    for (std::string line; std::getline(lines, line);)
      if (!line.empty()) records.push_back(nlohmann::json::parse(line));
    return records;
  }
  // The results a packaging run gives for cells, read from their per-part files the way the
  // dialog's own file operations read them.
  std::vector<VerifyResult> PartResults(const std::vector<std::string>& cells) {
    CResultsDlg1 probe(&command_, command_.GetLauncher(), nullptr, {}, "lib1");
    std::vector<VerifyResult> results;
    for (const std::string& cell : cells) {
      VerifyResult& result = results.emplace_back(FlowResult("packaging", "lib1", cell));
      const int code = probe.GetPartVerdict(cell);
      result.verdict = code == CResultsDlg1::kFailed   ? Verdict::Failed
                       : code != CResultsDlg1::kPassed ? Verdict::Unknown
                       : probe.GetWithWarnings()       ? Verdict::PassedWithWarnings
                                                       : Verdict::Passed;
      result.log = command_.GetProjectPath() + "temp/" + probe.GetPartFileName(cell) + ".log";
    }
    return results;
  }
  RecordingPrompter& Prompts() { return static_cast<RecordingPrompter&>(CurrentPrompter()); }

  TempDir dir_;
  CKestraCmdContext command_;
  std::unique_ptr<Prompter> previousPrompter_;
};

// Runs a dialog modally and calls `inside` once it is open; closes it afterwards if needed.
int RunOpen(CDialog& dlg, const std::function<void()>& inside) {
  QTimer::singleShot(0, &dlg, [&] {
    inside();
    if (dlg.isVisible()) dlg.EndDialog(-1);
  });
  return dlg.DoModal();
}

}  // namespace

TEST_F(ResultsProject, SingleResultShowsTheMessageAndOpensTheLogInTheProjectEditor) {
  // An editor that does nothing, in a folder named through an environment variable.
  const auto editor = dir_.write("editors/edit", "#!/bin/sh\nexit 0\n");
  std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
  setenv("KESTRA_TEST_EDITOR_DIR", (dir_.str() + "/editors").c_str(), 1);
  WriteProject("text_editor '$KESTRA_TEST_EDITOR_DIR/edit'\n");
  const std::string logPath = dir_.str() + "/proj/rx dir/rx.msg";
  VerifyResult run = FlowResult("rulex", "lib1", "");
  run.message = "Verification PASSED.";
  run.log = logPath;
  CResultsDlg dlg(&command_, command_.GetLauncher(), run);
  std::string shown;
  const int result = RunOpen(dlg, [&] {
    shown = dlg.GetDlgItemText(CResultsDlg::IDC_MESSAGE);
    EXPECT_EQ(dlg.windowTitle().toStdString(), "Verification Results");
    dlg.ClickDlgItem(CResultsDlg::IDC_VIEW_LOG);
  });
  EXPECT_EQ(shown, "Verification PASSED.");
  EXPECT_EQ(result, 1);  // closed as by OK
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0]["operation"], "launchTextView");
  EXPECT_EQ(launches[0]["arguments"], "\"" + logPath + "\"");
  // The editor was given in its expanded form.
  EXPECT_EQ(launches[0]["program"], editor.string());
}

TEST_F(ResultsProject, EditorFallsBackToTheSystemEditorAndMolderCaption) {
  VerifyResult run = FlowResult(CResultsDlg::kMolderFlow, "lib1", "");
  run.message = "x";
  run.log = "/tmp/log file.txt";
  CResultsDlg dlg(&command_, command_.GetLauncher(), run);
  RunOpen(dlg, [&] {
    EXPECT_EQ(dlg.windowTitle().toStdString(), "Molder");
    dlg.ClickDlgItem(CResultsDlg::IDC_VIEW_LOG);
  });
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 1u);
  // "notepad.exe" stands for the user's editor: $VISUAL here.
  EXPECT_NE(launches[0]["program"].get<std::string>().find("true"), std::string::npos);
  EXPECT_EQ(launches[0]["arguments"], "\"/tmp/log file.txt\"");
}

TEST_F(ResultsProject, PartListCountsPassedAndFailedButNotUnknown) {
  WritePart("good", "Status: passed\n", "Summary: 0 errors\n");
  WritePart("bad", "Status: FAILED\n", "");
  std::filesystem::create_directories(dir_.path() / "proj/temp");
  std::filesystem::create_symlink("odd.stat", dir_.path() / "proj/temp/odd.stat");
  WritePart("clean", "PASSED\n", "nothing to report\n");
  const std::vector<std::string> cells = {"Good", "bad", "odd", "clean"};
  CResultsDlg1 dlg(&command_, command_.GetLauncher(), nullptr, PartResults(cells), "lib1");
  std::vector<std::pair<std::string, std::string>> rows;
  RunOpen(dlg, [&] {
    auto* list = dlg.DlgItem<QTreeWidget>(CResultsDlg1::IDC_PART_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(0), "Part");
    EXPECT_EQ(list->headerItem()->text(1), "Status");
    EXPECT_EQ(list->columnWidth(0), list->width() / 2);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      rows.emplace_back(list->topLevelItem(i)->text(0).toStdString(),
                        list->topLevelItem(i)->text(1).toStdString());
    EXPECT_EQ(dlg.GetDlgItemText(CResultsDlg1::IDC_SUMMARY), "2 parts passed, 1 parts failed.");
    EXPECT_EQ(dlg.GetDlgItemText(CResultsDlg1::IDC_SELECT_HINT),
              "Select a part and see log file for details :");
  });
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Good", "Passed (With Warnings)"},
      {"bad", "Failed"},
      {"odd", "Unknown"},
      {"clean", "Passed"}};
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(dlg.GetWithWarnings(), 0);
}

TEST_F(ResultsProject, PartFileNamesAreTheMappedLastComponent) {
  CResultsDlg1 dlg(&command_, command_.GetLauncher(), nullptr, {}, "lib1");
  EXPECT_EQ(dlg.GetPartFileName("Sub/Cell A"), "cell%20a");
  EXPECT_EQ(dlg.GetPartFileName("c:Part"), "part");
  EXPECT_EQ(dlg.GetPartFileName("x\\y"), "y");
  // A name the mapper refuses is kept as selected.
  EXPECT_EQ(dlg.GetPartFileName("lib/.."), "..");
  WritePart("q1", "passed", "");
  EXPECT_EQ(dlg.GetPartVerdict("Q1"), CResultsDlg1::kPassed);
  EXPECT_EQ(dlg.GetPartVerdict("q2"), CResultsDlg1::kFailed);
}

TEST_F(ResultsProject, ViewLogFileNeedsASelectionAndKeepsTheDialogOpen) {
  WritePart("p1", "PASSED\n", "");
  std::filesystem::remove(dir_.path() / "proj/temp/p1.log");  // a missing log still opens
  CResultsDlg1 dlg(&command_, command_.GetLauncher(), nullptr, PartResults({"P1"}), "lib1");
  bool openAfterView = false;
  RunOpen(dlg, [&] {
    dlg.ClickDlgItem(CResultsDlg1::IDC_VIEW_LOG);
    ASSERT_EQ(Prompts().messages.size(), 1u);
    EXPECT_EQ(Prompts().messages[0].text, "Select a part first to view its log file");
    EXPECT_TRUE(Launches().empty());
    auto* list = dlg.DlgItem<QTreeWidget>(CResultsDlg1::IDC_PART_LIST);
    list->setCurrentItem(list->topLevelItem(0));
    dlg.ClickDlgItem(CResultsDlg1::IDC_VIEW_LOG);
    openAfterView = dlg.isVisible();
  });
  EXPECT_TRUE(openAfterView);
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0]["arguments"], "\"" + command_.GetProjectPath() + "temp/p1.log\"");
}

TEST_F(ResultsProject, PartListShowsTheRunsResultsAndTheirLogs) {
  WritePart("a", "PASSED\n", "");  // what the files say now does not change the run's verdict
  VerifyResult failed = FlowResult("packaging", "lib1", "a");
  failed.verdict = Verdict::Failed;
  failed.log = dir_.str() + "/kept/a.log";
  VerifyResult killed = FlowResult("packaging", "lib1", "B");  // no log: looked up in temp
  CResultsDlg1 dlg(&command_, command_.GetLauncher(), nullptr, {failed, killed}, "lib1");
  dlg.SetUnknownParts({{"B", "ended by signal 9 (Killed)"}});
  std::vector<std::string> statuses;
  RunOpen(dlg, [&] {
    auto* list = dlg.DlgItem<QTreeWidget>(CResultsDlg1::IDC_PART_LIST);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      statuses.push_back(list->topLevelItem(i)->text(1).toStdString());
      list->setCurrentItem(list->topLevelItem(i));
      dlg.ClickDlgItem(CResultsDlg1::IDC_VIEW_LOG);
    }
    EXPECT_EQ(dlg.GetDlgItemText(CResultsDlg1::IDC_SUMMARY), "0 parts passed, 1 parts failed.");
  });
  EXPECT_EQ(statuses, (std::vector<std::string>{"Failed", "Unknown (ended by signal 9 (Killed))"}));
  const auto launches = Launches();
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[0]["arguments"], "\"" + failed.log + "\"");
  EXPECT_EQ(launches[1]["arguments"], "\"" + command_.GetProjectPath() + "temp/b.log\"");
}
