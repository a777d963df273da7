// Corvid's folder chooser. Declaration only until the simulation flow needs it. UI thread.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"

class CDirOpenDlg {
 public:
  explicit CDirOpenDlg(HWND parent);
  int DoModal();
  // The chosen directory after DoModal returned 1.
  std::string GetDirPathName();
};
