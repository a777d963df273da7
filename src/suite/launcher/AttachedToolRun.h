// One attached run of a tool for an owner window (launchRulex, launchCellsim, ...).
//
// The tool runs in its own process group in the current directory, with standard input
// closed and standard output and error merged. Its output is cut into progress pieces
// (ProgressPieces.h); each piece is handed to the launcher's queue and one WM_TOOL_PROGRESS
// is posted to the owner. Exactly one WM_TOOL_ENDED (wParam 1) follows the last piece, also
// after Abort and also when the program could not be started (the reason is then the last
// piece). When the tool has ended, whatever it left running in its process group is ended
// too: nothing of a finished run outlives it, nor of a run whose host was killed outright. The
// owner may be destroyed at any time: messages to a destroyed owner are dropped.
//
// Owned by the launcher; UI thread only (the process's signals arrive on that thread).
#pragma once

#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class ParentDeathWatch;

class AttachedToolRun {
 public:
  // pieces is the launcher's queue of progress texts; it outlives this run.
  AttachedToolRun(QWidget* owner, std::deque<std::string>& pieces);
  ~AttachedToolRun();
  AttachedToolRun(const AttachedToolRun&) = delete;
  AttachedToolRun& operator=(const AttachedToolRun&) = delete;

  // Starts program with arguments; returns "" or why it could not start (the caller then
  // tells the user and calls Fail).
  std::string Start(const std::string& program, const std::vector<std::string>& arguments);
  // Records a failure found before starting: reason as the last piece, then the end.
  void Fail(const std::string& reason);
  // Asks the tool's process group to stop (SIGTERM), then forces it (SIGKILL) after a
  // short grace. The end message still follows.
  void Abort();
  bool HasEnded() const { return ended_; }
  // The owner the run was started for (a key only: it may be gone).
  const QWidget* Owner() const { return ownerKey_; }
  // The signal that ended the tool, 0 when it exited by itself or Abort stopped it.
  int EndSignal() const { return endSignal_; }

  // How long a tool may take to stop after SIGTERM before it is killed.
  static constexpr int kGraceMilliseconds = 1500;

 private:
  void ReadOutput();
  void FlushOutput();
  void Deliver(std::vector<std::string> pieces);
  void Finish();
  void SignalGroup(int signal);

  QPointer<QWidget> owner_;
  const QWidget* ownerKey_ = nullptr;
  std::deque<std::string>& pieces_;
  std::unique_ptr<ParentDeathWatch> watch_;  // lives as long as the run: see its header
  std::unique_ptr<QProcess> process_;
  QTimer flushTimer_;
  QTimer killTimer_;
  std::string buffer_;
  qint64 group_ = 0;
  bool aborting_ = false;
  bool ended_ = false;
  int endSignal_ = 0;
};
