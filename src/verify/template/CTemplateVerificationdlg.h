// Verify Tessel Libraries with Template (template 13008). For now the dialog shows its caption and
// a Close button that ends it with 8. The command object and the launcher are borrowed, not owned,
// for the modal run. UI thread only.
#pragma once

#include <string>

#include "framework/PlaceholderDialog.h"

class CKestraCmdContext;
class CToolLauncher;

class CTemplateVerificationdlg final : public PlaceholderDialog {
  Q_OBJECT

 public:
  CTemplateVerificationdlg(CKestraCmdContext* command, CToolLauncher* launcher,
                           QWidget* parent = nullptr);

 private:
  [[maybe_unused]] CKestraCmdContext* command_;
  [[maybe_unused]] CToolLauncher* launcher_;
};
