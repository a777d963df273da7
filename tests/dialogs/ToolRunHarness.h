// A headless owner window for tests of tool runs: it starts a tool through the launcher with
// itself as the owner, shows CProgressDlg through the shared tool-run protocol, and reports
// how the run ended. Flow tests link the library kestra_tool_run_harness.
//
// UI thread only (a QApplication must exist). The harness borrows the launcher and owns its
// progress dialog (a Qt child).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/CDialog.h"

class CProgressDlg;
class CToolLauncher;

class ToolRunHarness final : public CDialog {
  Q_OBJECT

 public:
  struct Outcome {
    int result = 0;                    // what CProgressDlg's DoModal returned
    bool cancelledAfter = false;       // the cancelled flag after the run
    std::vector<std::string> details;  // every progress text fetched, in order
    int progressMessages = 0;          // WM_TOOL_PROGRESS handled while the dialog was open
    std::string paneText;              // the detail pane when the dialog closed
  };

  // Starts the tool with the harness's window as owner (for instance a launchRulex call).
  using Start = std::function<void(CToolLauncher& launcher, HWND owner)>;
  // Called once, on the UI thread, just after the progress dialog has opened.
  using WhileOpen = std::function<void(ToolRunHarness& harness, CProgressDlg& progress)>;

  explicit ToolRunHarness(CToolLauncher& launcher);
  ~ToolRunHarness() override;

  // Runs the owner's steps: start, set the launcher, (optionally) wait until that many
  // progress messages have arrived before opening, show the dialog modally. A run that has
  // not ended after timeoutMs is cancelled, and ended with -1 when even that brings no end
  // message 5 s later, so that a broken run fails a test instead of hanging it.
  Outcome Run(const Start& start, const WhileOpen& whileOpen = {}, int progressBeforeOpen = 0,
              int timeoutMs = 20000);

  CProgressDlg& Progress() { return *progress_; }
  // Processes events until done() is true or timeoutMs has passed; returns done().
  static bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

 protected:
  LRESULT OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;

 private:
  CToolLauncher& launcher_;
  CProgressDlg* progress_;  // child of the harness
  Outcome outcome_;
  int progressBeforeOpen_ = 0;
};
