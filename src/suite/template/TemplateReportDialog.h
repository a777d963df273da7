// The window of a template check's report: the differences one per line, their count, and
// buttons to copy them to the clipboard or save them as a text file. Built over a message
// list it does not own (the report object's); UI thread only.
#pragma once

#include <string>

#include "framework/CDialog.h"

class BMesgList;
class QLabel;
class QPlainTextEdit;

class TemplateReportDialog final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13100,
    IDC_CLOSE = 2,
    IDC_SUMMARY = 13101,
    IDC_DIFFERENCES = 13102,
    IDC_COPY = 13103,
    IDC_SAVE = 13104,
  };

  TemplateReportDialog(const BMesgList& messages, QWidget* parent);

  // The report as text: one message a line, each line ended.
  std::string ReportText() const;
  // Puts the report on the clipboard.
  void CopyToClipboard();
  // Asks for a file and writes the report there; tells the user when it cannot.
  void SaveAsText();

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id) override;

 private:
  const BMesgList& messages_;
  QLabel* summary_;
  QPlainTextEdit* differences_;
};
