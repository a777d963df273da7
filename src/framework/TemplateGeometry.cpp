#include "framework/TemplateGeometry.h"

#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QLayout>
#include <cmath>

namespace {

bool Grows(const QWidget& widget) {
  return qobject_cast<const QAbstractScrollArea*>(&widget) != nullptr ||
         qobject_cast<const QGroupBox*>(&widget) != nullptr;
}

// A plain container whose children the template places: a group box or a bare widget or
// frame. The inside of a control (a list's viewport, a chooser's popup) is the control's own.
bool HoldsPlacedControls(const QWidget& widget) {
  if (widget.layout() != nullptr) return false;
  if (qobject_cast<const QGroupBox*>(&widget) != nullptr) return true;
  const char* kind = widget.metaObject()->className();
  return qstrcmp(kind, "QWidget") == 0 || qstrcmp(kind, "QFrame") == 0;
}

int Scaled(int value, double factor) { return static_cast<int>(std::lround(value * factor)); }

}  // namespace

void TemplateGeometry::Record(QWidget& dialog) {
  size_ = QSize();
  controls_.clear();
  if (dialog.layout() != nullptr || dialog.minimumSize() == dialog.maximumSize()) return;
  if (dialog.width() <= 0 || dialog.height() <= 0) return;  // nothing to scale from
  size_ = dialog.size();
  RecordChildren(dialog);
}

void TemplateGeometry::RecordChildren(QWidget& parent) {
  for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;  // a dialog of its own, not a control
    controls_.emplace_back(child, child->geometry());
    if (HoldsPlacedControls(*child)) RecordChildren(*child);
  }
}

void TemplateGeometry::Apply(const QSize& size) const {
  if (!Recorded()) return;
  // Never smaller than the template: the dialog's least size is the template's.
  const double x = std::max(1.0, double(size.width()) / size_.width());
  const double y = std::max(1.0, double(size.height()) / size_.height());
  for (const auto& [control, place] : controls_) {
    if (control.isNull()) continue;
    const bool grows = Grows(*control);
    control->setGeometry(Scaled(place.x(), x), Scaled(place.y(), y),
                         grows ? Scaled(place.width(), x) : place.width(),
                         grows ? Scaled(place.height(), y) : place.height());
  }
}
