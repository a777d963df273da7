// The window of a template display: a template's text, read-only, in a fixed-width font, with
// a Close button. UI thread only.
#pragma once

#include <string>

#include "framework/CDialog.h"

class QPlainTextEdit;

class TemplateTextDialog final : public CDialog {
  Q_OBJECT

 public:
  enum : int { IDD = 13110, IDC_CLOSE = 2, IDC_TEXT = 13111 };

  explicit TemplateTextDialog(QWidget* parent);
  void SetText(const std::string& text);

 private:
  QPlainTextEdit* text_;
};
