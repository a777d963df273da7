// The dialog's ToolRunner: starts the tool with the dialog's window as owner and shows the
// progress dialog until the tool ends (true) or the user cancels it (false). The dialog passes
// the launcher's messages on to the progress dialog (ProgressDialogSink). UI thread only; the
// launcher and the progress dialog are borrowed.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"
#include "verify/ToolRunner.h"

class CProgressDlg;
class CToolLauncher;

class DialogToolRunner final : public ToolRunner {
 public:
  DialogToolRunner(CToolLauncher& launcher, CProgressDlg& progress, std::string product, HWND owner)
      : launcher_(launcher), progress_(progress), product_(std::move(product)), owner_(owner) {}

  bool Run(const ToolStart& start) override;
  int EndSignal() const override;

 private:
  CToolLauncher& launcher_;
  CProgressDlg& progress_;
  std::string product_;
  HWND owner_;
};
