#include "framework/PlaceholderDialog.h"

#include <QPushButton>

PlaceholderDialog::PlaceholderDialog(int templateId, const std::string& caption, int closeCode,
                                     QWidget* parent)
    : CDialog(templateId, parent), closeCode_(closeCode) {
  setWindowTitle(QString::fromStdString(caption));
  setFixedSize(240, 60);
  auto* close = new QPushButton(QStringLiteral("&Close"), this);
  close->setProperty("ctrlId", kCloseId);
  close->setGeometry(150, 18, 75, 24);
}

bool PlaceholderDialog::OnCommand(int id) {
  if (id != kCloseId) return false;
  EndDialog(closeCode_);
  return true;
}
