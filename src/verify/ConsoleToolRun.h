// A tool run without dialogs (`kestra verify`): the tool starts attached to a hidden owner
// window, a local event loop waits for its end, and each progress piece goes to a sink
// (standard error in the headless verb). RunEach runs several tools, up to a number at once,
// each attached to an owner window of its own.
//
// While it waits, SIGINT, SIGTERM and SIGHUP stop the tool's whole process group (a polite
// signal, a grace, then a forced one) and, once the tool has ended, end this process with the
// status the signal gives, so that no checker is left running behind an interrupted verb.
// Needs a QApplication; UI thread only; the launcher is borrowed.
#pragma once

#include <cstddef>
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

  // Runs `count` tools, at most `parallel` at a time: start(index, slot, launcher, owner)
  // starts tool `index` in slot `slot` (0 to parallel - 1; a slot holds one tool at a time),
  // ended(index, slot) is called once that tool has ended, before the slot's next tool
  // starts. Returns when every started tool has ended; after a stop signal no further tool
  // starts.
  using StartEach =
      std::function<void(std::size_t index, std::size_t slot, CToolLauncher& launcher, HWND owner)>;
  using EndedEach = std::function<void(std::size_t index, std::size_t slot)>;
  void RunEach(std::size_t count, std::size_t parallel, const StartEach& start,
               const EndedEach& ended);

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
