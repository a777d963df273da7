// Running the rules checker without dialogs (`kestra verify rulex`): the launcher starts the
// tool attached to a hidden owner window and a local event loop waits for its end, passing
// each progress text to a sink. Needs a QApplication; UI thread only.
#pragma once

#include <functional>
#include <string>

#include "RulexFlow.h"

class CToolLauncher;

class ConsoleToolRunner final : public RulexToolRunner {
 public:
  using Sink = std::function<void(const std::string& detail)>;

  // The launcher is borrowed; sink receives every progress text in order.
  ConsoleToolRunner(CToolLauncher& launcher, std::string product, Sink sink);

  // Always true: without a dialog there is no Cancel; the run ends when the tool ends.
  bool Run(const RulexPlan& plan) override;

 private:
  CToolLauncher& launcher_;
  std::string product_;
  Sink sink_;
};
