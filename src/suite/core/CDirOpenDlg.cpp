#include "outside/CDirOpenDlg.h"

#include <filesystem>
#include <system_error>

#include "framework/Prompter.h"

CDirOpenDlg::CDirOpenDlg(HWND parent) : parent_(parent) {}

int CDirOpenDlg::DoModal() {
  // Qt's folder dialog through the prompter (tests answer it from a script); it opens on the
  // current directory.
  std::error_code error;
  const std::string start = std::filesystem::current_path(error).string();
  const auto folder = CurrentPrompter().ChooseFolder("Select Folder", error ? "" : start);
  if (!folder || folder->empty()) return 2;
  chosen_ = *folder;
  return 1;
}

std::string CDirOpenDlg::GetDirPathName() { return chosen_; }
