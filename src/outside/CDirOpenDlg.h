// Corvid's folder chooser: shown modally, then GetDirPathName gives the chosen folder. UI
// thread only; the parent window is borrowed.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"
#include "outside/SuiteExport.h"

class KESTRA_SUITE_API CDirOpenDlg {
 public:
  explicit CDirOpenDlg(HWND parent);
  // 1 when a folder was chosen, 2 when the chooser was cancelled.
  int DoModal();
  // The chosen directory after DoModal returned 1 ("" before).
  std::string GetDirPathName();

 private:
  [[maybe_unused]] HWND parent_;  // the chooser opens over the active window
  std::string chosen_;
};
