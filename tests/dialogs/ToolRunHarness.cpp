#include "ToolRunHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QThread>
#include <QTimer>

#include "dialogs/CProgressDlg.h"
#include "outside/CToolLauncher.h"
#include "verify/ProgressDialogSink.h"

ToolRunHarness::ToolRunHarness(CToolLauncher& launcher)
    : CDialog(0), launcher_(launcher), progress_(new CProgressDlg(this)) {}

ToolRunHarness::~ToolRunHarness() = default;

bool ToolRunHarness::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return done();
}

ToolRunHarness::Outcome ToolRunHarness::Run(const Start& start, const WhileOpen& whileOpen,
                                            int progressBeforeOpen, int timeoutMs) {
  outcome_ = {};
  progressBeforeOpen_ = 0;
  start(launcher_, GetSafeHwnd());
  progress_->SetLauncher(&launcher_);
  if (progressBeforeOpen > 0)
    WaitUntil([&] { return progressBeforeOpen_ >= progressBeforeOpen; }, timeoutMs);

  // Runs inside the modal loop, once the dialog is open.
  QTimer::singleShot(0, progress_, [this, whileOpen] {
    if (whileOpen) whileOpen(*this, *progress_);
  });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  connect(&watchdog, &QTimer::timeout, progress_, [this, &watchdog] {
    if (!progress_->HasWindow()) return;
    if (progress_->IsCancelled()) {
      progress_->EndDialog(-1);  // even the stop request brought no end message
      return;
    }
    progress_->ClickDlgItem(2);
    watchdog.start(5000);
  });
  watchdog.start(timeoutMs);
  outcome_.result = progress_->DoModal();
  watchdog.stop();
  outcome_.cancelledAfter = progress_->IsCancelled();
  if (QPlainTextEdit* pane = progress_->Output().Edit())
    outcome_.paneText = pane->toPlainText().toStdString();
  return outcome_;
}

namespace {

// The progress dialog's sink, recording every text and counting where it went.
class RecordingSink final : public ToolRunSink {
 public:
  RecordingSink(CProgressDlg& progress, ToolRunHarness::Outcome& outcome, int& beforeOpen)
      : dialog_(progress), progress_(progress), outcome_(outcome), beforeOpen_(beforeOpen) {}
  void OnToolProgress(const std::string& detail) override {
    outcome_.details.push_back(detail);
    ++(progress_.HasWindow() ? outcome_.progressMessages : beforeOpen_);
    dialog_.OnToolProgress(detail);
  }
  void OnToolEnded() override { dialog_.OnToolEnded(); }

 private:
  ProgressDialogSink dialog_;
  CProgressDlg& progress_;
  ToolRunHarness::Outcome& outcome_;
  int& beforeOpen_;
};

}  // namespace

LRESULT ToolRunHarness::OnMessage(unsigned message, WPARAM wParam, LPARAM) {
  RecordingSink sink(*progress_, outcome_, progressBeforeOpen_);
  return ObserveToolMessage(launcher_, message, wParam, sink) ? 1 : 0;
}
