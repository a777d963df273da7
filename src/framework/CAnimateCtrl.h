// An animation control: plays an animation file over a rectangle of its parent window,
// centred and with a transparent background, like the system's animation control.
//
// Open takes any path; when Qt cannot play that format (an ".avi", say) the control tries
// the same path with each extension Qt's movie reader supports, so an install tree can ship
// the animation as ".gif" beside the name the callers ask for. A file that cannot be played
// leaves the area empty. UI thread only; the control is a child of its parent and owns its
// movie.
#pragma once

#include <QLabel>
#include <QPointer>
#include <string>

#include "outside/OutsideTypes.h"

class QMovie;

class CAnimateCtrl final : public QLabel {
  Q_OBJECT

 public:
  static constexpr int kLastFrame = -1;
  static constexpr int kRepeatForever = -1;

  // Placed at rect (parent's client coordinates), visible, carrying the control id.
  CAnimateCtrl(QWidget* parent, const CRect& rect, int id);
  ~CAnimateCtrl() override;

  // True when a playable file was found (the path itself or its stem with a movie format).
  bool Open(const std::string& path);
  // Plays frames from..to (kLastFrame for the last), `repeat` times or without end.
  bool Play(int from, int to, int repeat);
  void Stop();
  // Closes the file; the area becomes empty.
  void Close();

  bool IsOpen() const { return movie_ != nullptr; }
  bool IsPlaying() const;
  // The file actually opened ("" when none).
  std::string GetFileName() const { return fileName_; }

 private:
  void OnFrameChanged(int frame);
  void OnFinished();

  QMovie* movie_ = nullptr;  // child of this control
  std::string fileName_;
  int from_ = 0;
  int to_ = kLastFrame;
  int repeatsLeft_ = 0;
};
