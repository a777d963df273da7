// How a dialog placed from a template follows a resize: the template's size is the least
// size (the controls never clip), and a larger dialog places every control in proportion.
// Lists, trees, tables, text panes and group boxes grow with it; buttons, boxes, labels and
// edits keep their size, so they stay with the part of the dialog they belong to. UI thread.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <utility>
#include <vector>

class TemplateGeometry {
 public:
  // Records the dialog's size and the places of its controls as they are now (as the template
  // and the dialog's initialisation left them). A dialog that has fixed its own size, or that
  // arranges its controls with a layout, is left as it is: nothing is recorded.
  void Record(QWidget& dialog);
  bool Recorded() const { return size_.isValid(); }
  QSize Size() const { return size_; }
  // Places the recorded controls for the dialog's size.
  void Apply(const QSize& size) const;

 private:
  void RecordChildren(QWidget& parent);

  QSize size_;
  std::vector<std::pair<QPointer<QWidget>, QRect>> controls_;
};
