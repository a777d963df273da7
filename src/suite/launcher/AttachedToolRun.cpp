#include "suite/launcher/AttachedToolRun.h"

#include <signal.h>
#include <unistd.h>

#include <QDir>

#include "base/ParentDeathWatch.h"
#include "framework/WindowMessage.h"
#include "suite/launcher/ProgressPieces.h"

namespace {
// A part line waits this long for its line end before it is shown as it is.
constexpr int kFlushMilliseconds = 50;
}  // namespace

AttachedToolRun::AttachedToolRun(QWidget* owner, std::deque<std::string>& pieces)
    : owner_(owner), ownerKey_(owner), pieces_(pieces) {
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(kFlushMilliseconds);
  QObject::connect(&flushTimer_, &QTimer::timeout, [this] { FlushOutput(); });
  killTimer_.setSingleShot(true);
  killTimer_.setInterval(kGraceMilliseconds);
  QObject::connect(&killTimer_, &QTimer::timeout, [this] { SignalGroup(SIGKILL); });
}

AttachedToolRun::~AttachedToolRun() {
  if (!process_) return;
  // Nothing may reach this object while it goes: drop the connections, then make sure no
  // part of the tool outlives its launcher.
  process_->disconnect();
  if (process_->state() != QProcess::NotRunning) {
    SignalGroup(SIGKILL);
    process_->waitForFinished(3000);
  }
  watch_.reset();
}

std::string AttachedToolRun::Start(const std::string& program,
                                   const std::vector<std::string>& arguments) {
  process_ = std::make_unique<QProcess>();
  QStringList args;
  for (const auto& a : arguments) args << QString::fromStdString(a);
  process_->setProgram(QString::fromStdString(program));
  process_->setArguments(args);
  process_->setWorkingDirectory(QDir::currentPath());
  process_->setProcessChannelMode(QProcess::MergedChannels);
  process_->setStandardInputFile(QProcess::nullDevice());
  // Its own process group (and session), so that Abort reaches everything it started. The
  // child does nothing else before its exec: a fork there would copy this whole process.
  process_->setChildProcessModifier([] { ::setsid(); });

  QObject::connect(process_.get(), &QProcess::readyReadStandardOutput, [this] { ReadOutput(); });
  QObject::connect(process_.get(), &QProcess::finished, [this] { Finish(); });

  process_->start();
  // Waiting for the exec makes a failure known before the caller shows its progress, and
  // makes sure the child has its own group before anyone can abort it.
  if (!process_->waitForStarted(10000)) {
    process_->disconnect();
    return process_->errorString().toStdString();
  }
  group_ = process_->processId();
  // A watcher ends the group should this process die without ending it.
  watch_ = std::make_unique<ParentDeathWatch>();
  watch_->WatchGroup(static_cast<pid_t>(group_));
  return {};
}

void AttachedToolRun::Fail(const std::string& reason) {
  if (ended_) return;
  Deliver({reason});
  ended_ = true;
  if (owner_) PostMessage(owner_, WM_TOOL_ENDED, 1, 0);
}

void AttachedToolRun::Abort() {
  if (ended_ || group_ <= 0) return;
  aborting_ = true;
  SignalGroup(SIGTERM);
  if (!killTimer_.isActive()) killTimer_.start();
}

void AttachedToolRun::ReadOutput() {
  const QByteArray data = process_->readAllStandardOutput();
  buffer_.append(data.constData(), static_cast<std::size_t>(data.size()));
  Deliver(TakeProgressPieces(buffer_, false));
  if (!buffer_.empty() && !flushTimer_.isActive()) flushTimer_.start();
}

void AttachedToolRun::FlushOutput() { Deliver(TakeProgressPieces(buffer_, true)); }

void AttachedToolRun::Deliver(std::vector<std::string> pieces) {
  for (auto& piece : pieces) {
    pieces_.push_back(std::move(piece));
    if (owner_) PostMessage(owner_, WM_TOOL_PROGRESS, 0, 0);
  }
}

void AttachedToolRun::Finish() {
  if (ended_) return;
  ReadOutput();
  flushTimer_.stop();
  FlushOutput();
  if (!aborting_ && process_->exitStatus() == QProcess::CrashExit) {
    endSignal_ = process_->exitCode();  // on POSIX the number of the signal that ended it
  }
  // Nothing of the group may stay behind: after a stop request it was asked politely, and
  // children a tool left running in the background belong to a run that is over.
  SignalGroup(SIGKILL);
  watch_.reset();
  killTimer_.stop();
  ended_ = true;
  if (owner_) PostMessage(owner_, WM_TOOL_ENDED, 1, 0);
}

void AttachedToolRun::SignalGroup(int signal) {
  if (group_ <= 0) return;
  const auto id = static_cast<pid_t>(group_);
  if (::kill(-id, signal) != 0 && process_ && process_->state() != QProcess::NotRunning)
    ::kill(id, signal);
}
