#include "framework/CAnimateCtrl.h"

#include <QFileInfo>
#include <QMovie>

namespace {

// The path itself when Qt plays it, else its stem with the first movie format that exists
// and plays; "" when none does.
QString PlayablePath(const QString& path) {
  if (QFileInfo(path).isFile() && QMovie(path).isValid()) return path;
  const QFileInfo info(path);
  const QString stem = info.path() + QLatin1Char('/') + info.completeBaseName();
  for (const QByteArray& format : QMovie::supportedFormats()) {
    const QString candidate = stem + QLatin1Char('.') + QString::fromLatin1(format);
    if (QFileInfo(candidate).isFile() && QMovie(candidate).isValid()) return candidate;
  }
  return {};
}

}  // namespace

CAnimateCtrl::CAnimateCtrl(QWidget* parent, const CRect& rect, int id) : QLabel(parent) {
  setProperty("ctrlId", id);
  setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
  setAlignment(Qt::AlignCenter);
  setAttribute(Qt::WA_TranslucentBackground);
  setAutoFillBackground(false);
  show();
}

CAnimateCtrl::~CAnimateCtrl() = default;

bool CAnimateCtrl::Open(const std::string& path) {
  Close();
  const QString playable = PlayablePath(QString::fromStdString(path));
  if (playable.isEmpty()) return false;
  movie_ = new QMovie(playable, QByteArray(), this);
  connect(movie_, &QMovie::frameChanged, this, &CAnimateCtrl::OnFrameChanged);
  connect(movie_, &QMovie::finished, this, &CAnimateCtrl::OnFinished);
  setMovie(movie_);
  movie_->jumpToFrame(0);
  fileName_ = playable.toStdString();
  return true;
}

bool CAnimateCtrl::Play(int from, int to, int repeat) {
  if (!movie_) return false;
  from_ = from < 0 ? 0 : from;
  to_ = to;
  repeatsLeft_ = repeat;
  movie_->stop();
  movie_->start();
  if (from_ > 0) movie_->jumpToFrame(from_);
  return true;
}

void CAnimateCtrl::Stop() {
  if (movie_) movie_->setPaused(true);
}

void CAnimateCtrl::Close() {
  if (!movie_) return;
  setMovie(nullptr);
  clear();
  delete movie_;  // owned through parenting; deleted early so the file is released now
  movie_ = nullptr;
  fileName_.clear();
}

bool CAnimateCtrl::IsPlaying() const { return movie_ && movie_->state() == QMovie::Running; }

void CAnimateCtrl::OnFrameChanged(int frame) {
  if (to_ == kLastFrame || frame <= to_) return;
  OnFinished();
}

void CAnimateCtrl::OnFinished() {
  if (repeatsLeft_ == 0) {
    movie_->setPaused(true);
    return;
  }
  if (repeatsLeft_ > 0) --repeatsLeft_;
  // Restart on the next turn of the event loop: the movie is still inside its own signal.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!movie_) return;
        if (movie_->state() != QMovie::Running) movie_->start();
        movie_->jumpToFrame(from_);
      },
      Qt::QueuedConnection);
}
