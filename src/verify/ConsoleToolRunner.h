// The console's ToolRunner (`kestra verify`): writes the start's status line to standard
// error, starts the tool attached to a hidden window (ConsoleToolRun: process group, stop
// signals) and streams its progress to standard error. There is no Cancel: Run is true once
// the tool has ended. Needs a QApplication; UI thread; the launcher is borrowed.
#pragma once

#include <string>

#include "verify/ToolRunner.h"

class CToolLauncher;

class ConsoleToolRunner final : public ToolRunner {
 public:
  ConsoleToolRunner(CToolLauncher& launcher, std::string product)
      : launcher_(launcher), product_(std::move(product)) {}

  bool Run(const ToolStart& start) override;
  int EndSignal() const override;

 private:
  CToolLauncher& launcher_;
  std::string product_;
};
