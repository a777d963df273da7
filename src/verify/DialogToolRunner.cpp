#include "verify/DialogToolRunner.h"

#include "dialogs/CProgressDlg.h"
#include "dialogs/ToolRunProtocol.h"
#include "framework/Prompter.h"
#include "outside/CToolLauncher.h"
#include "verify/ToolLaunch.h"
#include "verify/WorkingDirectory.h"

bool DialogToolRunner::Run(const ToolStart& start) {
  progress_.SetStatusText(start.statusText);
  if (const std::string failure = Start(start); !failure.empty()) {
    Tell(failure, true);
    return false;
  }
  progress_.SetLauncher(&launcher_);
  const bool ended = progress_.DoModal() == 1;
  Return();
  return ended;
}

std::string DialogToolRunner::Start(const ToolStart& start) {
  // The note opens the pane; the tool's first output comes after it.
  if (!start.note.empty()) DeliverToolProgress(start.note, progress_);
  if (start.directory.empty()) return StartTool(launcher_, start, product_, owner_);
  // The process stays in the tool's directory until the tool's end message.
  const std::string saved = CurrentDirectory();
  std::string why;
  if (!EnterDirectory(start.directory, &why)) return why;
  savedDirectory_ = saved;
  ToolStart here = start;
  here.directory.clear();
  return StartTool(launcher_, here, product_, owner_);
}

void DialogToolRunner::Return() {
  if (!savedDirectory_.empty()) EnterDirectory(savedDirectory_);
  savedDirectory_.clear();
}

int DialogToolRunner::EndSignal() const { return launcher_.GetLastEndSignal(); }

bool DialogToolRunner::RunEach(std::size_t count, std::size_t, const ComposeTool& compose,
                               const ToolEnded& ended) {
  compose_ = &compose;
  ended_ = &ended;
  count_ = count;
  next_ = 0;
  bool completed = true;
  if (StartNext()) {
    progress_.SetLauncher(&launcher_);
    completed = progress_.DoModal() == 1;
  }
  Return();
  compose_ = nullptr;
  ended_ = nullptr;
  return completed;
}

bool DialogToolRunner::StartNext() {
  while (next_ < count_) {
    const std::size_t index = next_++;
    const std::optional<ToolStart> start = (*compose_)(index, 0);
    if (!start) continue;
    ShowStatus(start->statusText);
    ToolEnd end;
    end.startFailure = Start(*start);
    if (end.startFailure.empty()) {
      running_ = index;
      return true;
    }
    (*ended_)(index, 0, end);
  }
  return false;
}

void DialogToolRunner::ShowStatus(const std::string& text) {
  progress_.SetStatusText(text);
  if (progress_.HasWindow()) progress_.SetDlgItemText(CProgressDlg::IDC_STATUS, text);
}

void DialogToolRunner::Tell(const std::string& text, bool error) {
  AfxMessageBox(text, error ? MB_ICONERROR : MB_OK);
}

void DialogToolRunner::OnToolProgress(const std::string& detail) {
  DeliverToolProgress(detail, progress_);
}

void DialogToolRunner::OnToolEnded() {
  Return();
  if (compose_ != nullptr) {
    ToolEnd end;
    end.signal = launcher_.GetLastEndSignal();
    (*ended_)(running_, 0, end);
    // Cancel stops the sequence after the tool that was running.
    if (!progress_.IsCancelled() && StartNext()) return;
  }
  HandleToolEnded(1, progress_);
}
