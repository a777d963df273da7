// The dialog's ToolRunner: starts the tool with the dialog's window as owner and shows the
// progress dialog until the tool ends (true) or the user cancels it (false). RunEach runs its
// tools one at a time under one progress dialog, each started from the end of the one before;
// Cancel stops the sequence after the tool that was running. Tell shows a message box.
//
// A start that names a directory leaves the process in it until the tool's end message (then
// back where it was), as the tool's working directory is carried by the process's.
//
// The dialog passes the launcher's messages on with ObserveToolMessage, either to a
// ProgressDialogSink or, for RunEach, to this runner (which is also the sink: each end starts
// the next tool). UI thread only; the launcher and the progress dialog are borrowed.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"
#include "verify/ToolRunObserver.h"
#include "verify/ToolRunner.h"

class CProgressDlg;
class CToolLauncher;

class DialogToolRunner final : public ToolRunner, public ToolRunSink {
 public:
  DialogToolRunner(CToolLauncher& launcher, CProgressDlg& progress, std::string product, HWND owner)
      : launcher_(launcher), progress_(progress), product_(std::move(product)), owner_(owner) {}

  bool Run(const ToolStart& start) override;
  int EndSignal() const override;
  bool RunEach(std::size_t count, std::size_t parallel, const ComposeTool& compose,
               const ToolEnded& ended) override;
  void Tell(const std::string& text, bool error) override;

  void OnToolProgress(const std::string& detail) override;
  void OnToolEnded() override;

 private:
  // Starts the next tool of the sequence that can start; false when none is left.
  bool StartNext();
  // Starts one tool, entering its directory first; "" when it started, else why not.
  std::string Start(const ToolStart& start);
  // Back to the directory saved by Start, when there is one.
  void Return();
  void ShowStatus(const std::string& text);

  CToolLauncher& launcher_;
  CProgressDlg& progress_;
  std::string product_;
  HWND owner_;
  // The sequence under way (RunEach), else null.
  const ComposeTool* compose_ = nullptr;
  const ToolEnded* ended_ = nullptr;
  std::size_t count_ = 0;
  std::size_t next_ = 0;
  std::size_t running_ = 0;
  std::string savedDirectory_;
};
