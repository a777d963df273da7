#include "framework/CImageList.h"

#include <QBitmap>
#include <QPixmap>

bool CImageList::Create(int width, int height, int, int) {
  images_.clear();
  return width > 0 && height > 0;
}

bool CImageList::CreateFromStrip(const QPixmap& strip, int width, int, QRgb transparent) {
  images_.clear();
  if (strip.isNull() || width <= 0) return false;
  QPixmap clear = strip;
  clear.setMask(strip.createMaskFromColor(QColor(transparent), Qt::MaskInColor));
  for (int x = 0; x + width <= clear.width(); x += width)
    images_.push_back(QIcon(clear.copy(x, 0, width, strip.height())));
  return true;
}

int CImageList::Add(const QIcon& icon) {
  images_.push_back(icon);
  return static_cast<int>(images_.size()) - 1;
}

QIcon CImageList::GetIcon(int index) const {
  if (index < 0 || index >= images_.size()) return {};
  return images_[index];
}

QIcon LoadIconResource(int id) {
  const QString path = QStringLiteral(":/icons/%1.png").arg(id);
  QPixmap p(path);
  return p.isNull() ? QIcon() : QIcon(p);
}

QPixmap LoadBitmapResource(int id) { return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(id)); }
