// A tool run without dialogs (`kestra verify`): the tool starts attached to a hidden owner
// window, a local event loop waits for its end, and each progress piece goes to a sink
// (standard error in the headless verb).
//
// While it waits, SIGINT, SIGTERM and SIGHUP stop the tool's whole process group (a polite
// signal, a grace, then a forced one) and, once the tool has ended, end this process with the
// status the signal gives, so that no checker is left running behind an interrupted verb.
// Needs a QApplication; UI thread only; the launcher is borrowed.
#pragma once

#include <functional>

#include "outside/OutsideTypes.h"
#include "verify/ToolRunObserver.h"

class CToolLauncher;

class ConsoleToolRun {
 public:
  using Start = std::function<void(CToolLauncher& launcher, HWND owner)>;

  ConsoleToolRun(CToolLauncher& launcher, ToolRunSink& sink) : launcher_(launcher), sink_(sink) {}

  // Starts the tool through start (a launcher operation that takes the owner) and returns
  // when it has ended.
  void Run(const Start& start);

 private:
  CToolLauncher& launcher_;
  ToolRunSink& sink_;
};

// A sink that writes each progress piece to a stream as it comes.
class StreamSink final : public ToolRunSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  void OnToolProgress(const std::string& detail) override;
  void OnToolEnded() override {}

 private:
  std::ostream& out_;
};
