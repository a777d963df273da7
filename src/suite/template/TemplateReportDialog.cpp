#include "suite/template/TemplateReportDialog.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/ReplaceFile.h"
#include "framework/Prompter.h"
#include "model/BMesgList.h"

namespace {

QPushButton* Button(const char* text, int id, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setProperty("ctrlId", id);
  button->setAutoDefault(false);
  return button;
}

std::string SummaryText(int differences) {
  if (differences == 0) return "No differences found.";
  if (differences == 1) return "1 difference found.";
  return std::to_string(differences) + " differences found.";
}

}  // namespace

TemplateReportDialog::TemplateReportDialog(const BMesgList& messages, QWidget* parent)
    : CDialog(IDD, parent),
      messages_(messages),
      summary_(new QLabel(this)),
      differences_(new QPlainTextEdit(this)) {
  setWindowTitle("Template Verification Report");
  summary_->setProperty("ctrlId", int{IDC_SUMMARY});
  differences_->setProperty("ctrlId", int{IDC_DIFFERENCES});
  differences_->setReadOnly(true);
  differences_->setLineWrapMode(QPlainTextEdit::NoWrap);
  differences_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button("&Copy", IDC_COPY, this));
  buttons->addWidget(Button("&Save As...", IDC_SAVE, this));
  buttons->addStretch(1);
  QPushButton* close = Button("C&lose", IDC_CLOSE, this);
  close->setDefault(true);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(differences_, 1);
  layout->addLayout(buttons);
  resize(900, 420);
}

bool TemplateReportDialog::OnInitDialog() {
  summary_->setText(QString::fromStdString(SummaryText(messages_.getErrorCount())));
  differences_->setPlainText(QString::fromStdString(ReportText()));
  return true;
}

bool TemplateReportDialog::OnCommand(int id) {
  switch (id) {
    case IDC_COPY:
      CopyToClipboard();
      return true;
    case IDC_SAVE:
      SaveAsText();
      return true;
    default:
      return false;
  }
}

std::string TemplateReportDialog::ReportText() const {
  std::string text;
  for (const BMesgText& message : messages_.getMessages()) text += message.getText() + "\n";
  return text;
}

void TemplateReportDialog::CopyToClipboard() {
  QGuiApplication::clipboard()->setText(QString::fromStdString(ReportText()));
}

void TemplateReportDialog::SaveAsText() {
  FileRequest request;
  request.title = "Save Verification Report";
  request.fileName = "template-report.txt";
  request.filter = "Text Files (*.txt);;All Files (*)";
  request.defaultSuffix = "txt";
  const auto path = CurrentPrompter().SaveFile(request);
  if (!path) return;
  if (!ReplaceFileContent(*path, ReportText())) {
    AfxMessageBox("Cannot write the report to " + *path +
                      ": check that its folder exists and that you may write there.",
                  MB_ICONERROR);
  }
}
