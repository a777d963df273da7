// Verify Tessel Libraries in Verilog Simulation Flow (template 13040). For now the dialog shows its
// caption and a Close button that ends it with 8. The command object and the launcher are borrowed,
// not owned, for the modal run. UI thread only.
#pragma once

#include <string>

#include "framework/PlaceholderDialog.h"

class CKestraCmdContext;
class CToolLauncher;

class CCellsimVerification final : public PlaceholderDialog {
  Q_OBJECT

 public:
  CCellsimVerification(CKestraCmdContext* command, CToolLauncher* launcher,
                       QWidget* parent = nullptr);

 private:
  [[maybe_unused]] CKestraCmdContext* command_;
  [[maybe_unused]] CToolLauncher* launcher_;
};
