#include "verify/DialogToolRunner.h"

#include "dialogs/CProgressDlg.h"
#include "outside/CToolLauncher.h"
#include "verify/ToolLaunch.h"

bool DialogToolRunner::Run(const ToolStart& start) {
  progress_.SetStatusText(start.statusText);
  StartTool(launcher_, start, product_, owner_);
  progress_.SetLauncher(&launcher_);
  return progress_.DoModal() == 1;
}

int DialogToolRunner::EndSignal() const { return launcher_.GetLastEndSignal(); }
