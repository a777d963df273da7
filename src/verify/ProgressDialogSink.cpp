#include "verify/ProgressDialogSink.h"

#include "dialogs/ToolRunProtocol.h"

void ProgressDialogSink::OnToolProgress(const std::string& detail) {
  DeliverToolProgress(detail, progress_);
}

void ProgressDialogSink::OnToolEnded() { HandleToolEnded(1, progress_, savedDirectory_); }
