// The tool-run protocol with real child processes: the stand-in tools run under the real
// launcher, and the harness owns the progress dialog as a verification dialog does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <csignal>
#include <fstream>
#include <memory>

#include "TempDir.h"
#include "ToolRunHarness.h"
#include "dialogs/CProgressDlg.h"
#include "framework/Prompter.h"
#include "framework/WindowMessage.h"
#include "outside/CToolLauncher.h"

namespace {

std::string ToolPath(const std::string& name) {
  return std::string(KESTRA_BINARY_DIR) + "/tools/bin/" + name;
}

// Runs `tool` with `args` as the rules checker (launchRulex) under the harness.
class ToolRun : public ::testing::Test {
 protected:
  void SetUp() override { previousPrompter_ = SetPrompter(std::make_unique<RecordingPrompter>()); }
  void TearDown() override {
    unsetenv("KESTRA_TOOL_RULEX");
    SetPrompter(std::move(previousPrompter_));
  }
  ToolRunHarness::Outcome Run(const std::string& program, const std::string& args,
                              const ToolRunHarness::WhileOpen& whileOpen = {},
                              int progressBeforeOpen = 0) {
    setenv("KESTRA_TOOL_RULEX", program.c_str(), 1);
    return harness_.Run(
        [args](CToolLauncher& launcher, HWND owner) { launcher.launchRulex(args, "lm", owner); },
        whileOpen, progressBeforeOpen);
  }
  RecordingPrompter& Prompts() { return static_cast<RecordingPrompter&>(CurrentPrompter()); }

  CToolLauncher launcher_;
  ToolRunHarness harness_{launcher_};
  std::unique_ptr<Prompter> previousPrompter_;
};

// True when the process has gone (or is only a zombie waiting to be reaped).
bool ProcessGone(pid_t pid) {
  if (kill(pid, 0) != 0) return true;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string pidText, name, state;
  stat >> pidText >> name >> state;
  return state == "Z";
}

struct ToolPids {
  pid_t tool = 0;
  pid_t child = 0;
};

ToolPids ReadPids(const std::filesystem::path& file) {
  ToolPids pids;
  std::ifstream in(file);
  in >> pids.tool >> pids.child;
  return pids;
}

bool AnyDetailHas(const ToolRunHarness::Outcome& outcome, const std::string& text) {
  for (const auto& d : outcome.details)
    if (d.find(text) != std::string::npos) return true;
  return false;
}

}  // namespace

TEST_F(ToolRun, LinesShowAsTheyComeAndTheEndClosesWith1) {
  std::vector<int> lineCounts;  // the pane's line count, sampled while the tool runs
  const auto outcome = Run(ToolPath("progress-lines"), "10 1000", [&](auto&, CProgressDlg& p) {
    ToolRunHarness::WaitUntil(
        [&] {
          lineCounts.push_back(p.Output().GetLineCount());
          return !p.isVisible();
        },
        10000);
  });
  EXPECT_EQ(outcome.result, 1);
  EXPECT_FALSE(outcome.cancelledAfter);
  std::string expected;
  for (int n = 1; n <= 10; ++n) expected += "line " + std::to_string(n) + " of 10\n";
  EXPECT_EQ(outcome.paneText, expected);
  EXPECT_GE(outcome.progressMessages, 2);
  // While the tool ran, the pane held some lines but not yet all of them.
  const bool partial =
      std::any_of(lineCounts.begin(), lineCounts.end(), [](int n) { return n > 1 && n < 11; });
  EXPECT_TRUE(partial);
}

TEST_F(ToolRun, PiecesBeforeOpeningLeaveOnlyTheLastOneForThePane) {
  TempDir dir;
  const auto pidFile = dir.path() / "pids";
  const auto outcome = Run(
      ToolPath("progress-long"), "\"" + pidFile.string() + "\"",
      [](ToolRunHarness&, CProgressDlg& p) { p.ClickDlgItem(2); }, 3);
  ASSERT_GE(outcome.details.size(), 3u);
  const std::string& lastPending = outcome.details[2];
  EXPECT_EQ(outcome.paneText.rfind(lastPending, 0), 0u) << outcome.paneText;
  EXPECT_EQ(outcome.paneText.find(outcome.details[0]), std::string::npos);
  EXPECT_EQ(outcome.result, 2);
}

TEST_F(ToolRun, CancelStopsTheWholeProcessGroupAndEndsWith2) {
  TempDir dir;
  const auto pidFile = dir.path() / "pids";
  bool openAfterCancel = false;
  bool flagAfterCancel = false;
  const auto outcome =
      Run(ToolPath("progress-long"), "\"" + pidFile.string() + "\"", [&](auto&, CProgressDlg& p) {
        ToolRunHarness::WaitUntil([&] { return ReadPids(pidFile).child > 0; }, 5000);
        p.ClickDlgItem(2);
        openAfterCancel = p.HasWindow();  // the dialog waits for the end message
        flagAfterCancel = p.IsCancelled();
      });
  EXPECT_TRUE(openAfterCancel);
  EXPECT_TRUE(flagAfterCancel);
  EXPECT_EQ(outcome.result, 2);
  EXPECT_FALSE(outcome.cancelledAfter);
  const ToolPids pids = ReadPids(pidFile);
  ASSERT_GT(pids.child, 0);
  EXPECT_TRUE(ToolRunHarness::WaitUntil([&] { return ProcessGone(pids.tool); }, 5000));
  EXPECT_TRUE(ToolRunHarness::WaitUntil([&] { return ProcessGone(pids.child); }, 5000));
}

TEST_F(ToolRun, CancelTwiceAsksTwiceAndClosesOnlyAtTheEnd) {
  TempDir dir;
  const auto pidFile = dir.path() / "pids";
  bool openAfterFirst = false;
  // The tool ignores the first stop request and ends at the second.
  const auto outcome =
      Run(ToolPath("progress-long"), "\"" + pidFile.string() + "\" 2",
          [&](ToolRunHarness& h, CProgressDlg& p) {
            ToolRunHarness::WaitUntil([&] { return ReadPids(pidFile).child > 0; }, 5000);
            p.ClickDlgItem(2);
            ToolRunHarness::WaitUntil(
                [&] { return p.Output().Edit()->toPlainText().contains("terminate 1"); }, 1000);
            openAfterFirst = p.HasWindow();
            p.ClickDlgItem(2);
            (void)h;
          });
  EXPECT_TRUE(openAfterFirst);
  EXPECT_EQ(outcome.result, 2);
  EXPECT_FALSE(outcome.cancelledAfter);
  EXPECT_NE(outcome.paneText.find("terminate 2"), std::string::npos) << outcome.paneText;
}

TEST_F(ToolRun, EscapeAndTheCloseBoxCancelToo) {
  TempDir dir;
  const std::string args = "\"" + (dir.path() / "pids").string() + "\"";
  const auto escaped = Run(ToolPath("progress-long"), args, [](auto&, CProgressDlg& p) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&p, &escape);
  });
  EXPECT_EQ(escaped.result, 2);
  const auto closed = Run(ToolPath("progress-long"), args, [](auto&, CProgressDlg& p) {
    p.close();
    EXPECT_TRUE(p.HasWindow());  // the close box only asks the tool to stop
  });
  EXPECT_EQ(closed.result, 2);
  EXPECT_FALSE(closed.cancelledAfter);
}

TEST_F(ToolRun, EndMessageWithAnotherWParamIsIgnored) {
  bool openAfterFakeEnd = false;
  const auto outcome =
      Run(ToolPath("progress-lines"), "5 500", [&](ToolRunHarness& h, CProgressDlg& p) {
        EXPECT_EQ(SendMessage(h.GetSafeHwnd(), WM_TOOL_ENDED, 0, 0), 1);
        PostMessage(h.GetSafeHwnd(), WM_TOOL_ENDED, 2, 0);
        ToolRunHarness::WaitUntil([] { return false; }, 50);
        openAfterFakeEnd = p.HasWindow();
      });
  EXPECT_TRUE(openAfterFakeEnd);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_NE(outcome.paneText.find("line 5 of 5"), std::string::npos);
}

TEST_F(ToolRun, AProgramThatCannotStartEndsTheRunAndSaysWhy) {
  TempDir dir;
  const std::string missing = (dir.path() / "no-such-tool").string();
  const auto outcome = Run(missing, "x");
  EXPECT_EQ(outcome.result, 1);
  ASSERT_FALSE(outcome.details.empty());
  EXPECT_TRUE(AnyDetailHas(outcome, "no-such-tool")) << outcome.paneText;
  ASSERT_FALSE(Prompts().messages.empty());
  EXPECT_NE(Prompts().messages.back().text.find("no-such-tool"), std::string::npos);
}
