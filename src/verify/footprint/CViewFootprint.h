// Footprint (template 13002). For now the dialog shows its caption and a Close button that
// ends it with 1. The command object and the launcher are borrowed, not owned, for the
// modal run. UI thread only.
#pragma once

#include <string>

#include "PlaceholderDialog.h"

class CKestraCmdLine;
class CToolLauncher;

class CViewFootprint final : public PlaceholderDialog {
  Q_OBJECT

 public:
  CViewFootprint(CKestraCmdLine* command, CToolLauncher* launcher, std::string mode,
                 QWidget* parent = nullptr);
  const std::string& Mode() const { return mode_; }

 private:
  [[maybe_unused]] CKestraCmdLine* command_;
  [[maybe_unused]] CToolLauncher* launcher_;
  std::string mode_;  // "ViewFootprint" or "VerifyWithPavrel"
};
