// Verification of a library with the rules checker. (Placeholder: caption and Close.)
#pragma once

#include "CDialog.h"

class CKestraCmdLine;
class CToolLauncher;

class CRulexVerification final : public CDialog {
  Q_OBJECT

 public:
  CRulexVerification(CKestraCmdLine* command, CToolLauncher* launcher, QWidget* parent = nullptr);

 protected:
  bool OnCommand(int id) override;

 private:
  CKestraCmdLine* command_;
  CToolLauncher* launcher_;
};
