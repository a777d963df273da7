// A dialog that shows only its caption and a Close button (control id 8) ending it with a
// given code: the stand-in for a dialog whose controls are not built yet. UI thread only;
// the button is owned by the dialog through Qt parenting.
#pragma once

#include <string>

#include "framework/CDialog.h"

class PlaceholderDialog : public CDialog {
  Q_OBJECT

 public:
  static constexpr int kCloseId = 8;

  PlaceholderDialog(int templateId, const std::string& caption, int closeCode, QWidget* parent);

 protected:
  bool OnCommand(int id) override;

 private:
  int closeCode_;
};
