#include "dialogs/ToolRunProtocol.h"

#include <filesystem>
#include <system_error>

#include "dialogs/CProgressDlg.h"

namespace {
constexpr LRESULT kHandled = 1;
}

LRESULT DeliverToolProgress(const std::string& detail, CProgressDlg& progress) {
  if (progress.HasWindow()) {
    progress.Output().QueueText(detail);  // in the pane at the event loop's next pass
  } else {
    progress.SetPendingDetail(detail);
  }
  return kHandled;
}

LRESULT HandleToolEnded(WPARAM wParam, CProgressDlg& progress) {
  if (wParam != 1) return kHandled;
  if (progress.HasWindow()) {
    progress.EndRun();
  } else {
    // Remembered so that the dialog closes as soon as it opens instead of waiting forever
    // for an end message that has already come.
    progress.SetEndedBeforeOpen();
  }
  return kHandled;
}

LRESULT HandleToolEnded(WPARAM wParam, CProgressDlg& progress, const std::string& savedDirectory) {
  if (wParam == 1 && !savedDirectory.empty()) {
    std::error_code ec;
    std::filesystem::current_path(savedDirectory, ec);
  }
  return HandleToolEnded(wParam, progress);
}
