// The console's ToolRunner (`kestra verify`): writes each start's status line to standard
// error, starts the tools attached to hidden windows (ConsoleToolRun: process group, stop
// signals, several at once for RunEach) and streams their progress to standard error. There is
// no Cancel: Run is true once the tool has ended, and RunEach once every tool has (a stop
// signal ends the process after the running tools). Needs a QApplication; UI thread; the
// launcher is borrowed.
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
  bool RunEach(std::size_t count, std::size_t parallel, const ComposeTool& compose,
               const ToolEnded& ended) override;
  void Tell(const std::string& text, bool error) override;

 private:
  CToolLauncher& launcher_;
  std::string product_;
};
