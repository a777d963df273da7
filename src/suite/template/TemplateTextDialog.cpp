#include "suite/template/TemplateTextDialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TemplateTextDialog::TemplateTextDialog(QWidget* parent)
    : CDialog(IDD, parent), text_(new QPlainTextEdit(this)) {
  setWindowTitle("Part Template");
  text_->setProperty("ctrlId", int{IDC_TEXT});
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* close = new QPushButton("C&lose", this);
  close->setProperty("ctrlId", int{IDC_CLOSE});
  close->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addLayout(buttons);
  resize(640, 480);
}

void TemplateTextDialog::SetText(const std::string& text) {
  text_->setPlainText(QString::fromStdString(text));
}
