// The ToolRunner of the headless verbs, which start without Qt (`kestra verify FLOW`): writes
// each start's status line and note to standard error, runs the tool through ToolProcess
// (process group, stop signals, the launcher's program search and launch log) in the start's
// directory, and streams its progress to standard error. There is no Cancel: Run is true once
// the tool has ended, false only when its directory cannot be entered; RunEach runs up to
// parallel tools at once and is true once every tool has ended. Standard C++ and POSIX; one
// thread.
#pragma once

#include <string>

#include "verify/ToolProcess.h"
#include "verify/ToolRunner.h"

class ProcessToolRunner final : public ToolRunner {
 public:
  explicit ProcessToolRunner(std::string product) : product_(std::move(product)) {}

  bool Run(const ToolStart& start) override;
  int EndSignal() const override { return process_.EndSignal(); }
  bool RunEach(std::size_t count, std::size_t parallel, const ComposeTool& compose,
               const ToolEnded& ended) override;
  void Tell(const std::string& text, bool error) override;

 private:
  std::string product_;
  ToolProcess process_;
};
