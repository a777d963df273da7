// The sink of a tool run shown in CProgressDlg: progress fills its detail pane (or waits as
// pending detail until the window exists), the end closes it with 1, or 2 after Cancel.
// With a saved directory, the end first makes it the current directory again (for flows that
// run their tool in another one). UI thread only; the dialog is borrowed.
#pragma once

#include <string>

#include "verify/ToolRunObserver.h"

class CProgressDlg;

class ProgressDialogSink final : public ToolRunSink {
 public:
  explicit ProgressDialogSink(CProgressDlg& progress, std::string savedDirectory = "")
      : progress_(progress), savedDirectory_(std::move(savedDirectory)) {}

  void OnToolProgress(const std::string& detail) override;
  void OnToolEnded() override;

 private:
  CProgressDlg& progress_;
  std::string savedDirectory_;
};
