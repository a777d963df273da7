// A ToolRunner without a process: records each start and the directory the tool would start
// in, lets the test write the reports the tool would, and ends each run by itself, by a signal
// or by the user's cancel, as the test says. Sequences run one at a time (ToolRunner's own).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "verify/ToolRunner.h"
#include "verify/WorkingDirectory.h"

class FakeToolRunner final : public ToolRunner {
 public:
  bool Run(const ToolStart& start) override {
    starts.push_back(start);
    directories.push_back(CurrentDirectory());
    signal_ = endSignal ? endSignal(start) : 0;
    if (write) write(start);
    return !cancel;
  }
  int EndSignal() const override { return signal_; }
  void Tell(const std::string& text, bool error) override {
    told.push_back((error ? "error: " : "") + text);
  }

  std::vector<ToolStart> starts;
  std::vector<std::string> directories;  // the current directory of each start
  std::vector<std::string> told;
  std::function<void(const ToolStart&)> write;     // writes the tool's reports, in its directory
  std::function<int(const ToolStart&)> endSignal;  // the signal that ends a start, 0 for none
  bool cancel = false;

 private:
  int signal_ = 0;
};
