// An image list: icons of one size handed to the browser's tree and lists. Value type.
#pragma once

#include <QIcon>
#include <QList>
#include <QRgb>

class CImageList {
 public:
  // Empties the list; true for a valid image size. The icons keep their own size; the size,
  // initial count and growth are accepted for the callers' sake.
  bool Create(int width, int height, int initial, int grow);
  // Cuts a bitmap strip into images `width` pixels wide, `transparent` made clear.
  bool CreateFromStrip(const QPixmap& strip, int width, int grow, QRgb transparent);
  int Add(const QIcon& icon);
  QIcon GetIcon(int index) const;

 private:
  QList<QIcon> images_;
};

// Images from the module's resources (":/icons/<id>.png", ":/bitmaps/<id>.png"); a missing
// resource gives a null icon or pixmap.
QIcon LoadIconResource(int id);
QPixmap LoadBitmapResource(int id);
