// Footprint (template 13002). For now the dialog shows its caption and a Close button that
// ends it with 1. The command object and the launcher are borrowed, not owned, for the
// modal run. UI thread only.
#pragma once

#include <string>

#include "framework/PlaceholderDialog.h"

class CKestraCmdContext;
class CToolLauncher;

class CViewFootprint final : public PlaceholderDialog {
  Q_OBJECT

 public:
  CViewFootprint(CKestraCmdContext* command, CToolLauncher* launcher, std::string mode,
                 QWidget* parent = nullptr);
  const std::string& Mode() const { return mode_; }

 private:
  [[maybe_unused]] CKestraCmdContext* command_;
  [[maybe_unused]] CToolLauncher* launcher_;
  std::string mode_;  // "ViewFootprint" or "VerifyWithPavrel"
};
