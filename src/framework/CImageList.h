// An image list: icons of one size handed to the browser's tree and lists. Value type.
#pragma once

#include <QIcon>
#include <QList>
#include <QRgb>

class CImageList {
 public:
  // Sets the image size; initial size and growth are accepted for the callers' sake.
  bool Create(int width, int height, int initial, int grow);
  // Cuts a bitmap strip into images `width` pixels wide, `transparent` made clear.
  bool CreateFromStrip(const QPixmap& strip, int width, int grow, QRgb transparent);
  int Add(const QIcon& icon);
  int GetImageCount() const { return static_cast<int>(images_.size()); }
  QIcon GetIcon(int index) const;
  QSize ImageSize() const { return {width_, height_}; }

 private:
  int width_ = 16;
  int height_ = 16;
  QList<QIcon> images_;
};

// Images from the module's resources (":/icons/<id>.png", ":/bitmaps/<id>.png"); a missing
// resource gives a null icon or pixmap.
QIcon LoadIconResource(int id);
QPixmap LoadBitmapResource(int id);
