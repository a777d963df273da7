// A tool run of a headless verb without Qt (standard C++ and POSIX), for the verbs that start
// without the module's widget, font and display libraries (`kestra verify FLOW`). It keeps
// the launcher's contract for an attached start: the program found as the launcher finds it
// (KESTRA_TOOL_<NAME>, tools/bin, PATH), the argument text split by the same rules and never
// given to a shell, one launch-log line, the tool in its own process group in the current
// directory with standard input closed and its output merged, cut into the same progress
// pieces, nothing of its group left once it has ended, and the same watcher that ends the
// group should this process be killed outright. A start that fails is said on standard error
// as the launcher's message box says it without a display.
//
// Several tools may run at once (RunEach), each in a group of its own, their output streamed
// as it comes.
//
// While it waits, SIGINT, SIGTERM and SIGHUP stop the tools' groups (SIGTERM, a grace, then
// SIGKILL), start no further tool and, once the tools have ended, end this process with the
// status the signal gives.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

struct ToolProcessStart {
  std::string operation;  // the launcher operation ("launchRulex"): names the tool
  std::string arguments;  // the argument text, exactly as composed
  std::string product;    // for the launch log
  // The executable the caller gave, as the launcher takes it; "" when the operation names the
  // tool.
  std::string executable = "";
  // The tool's working directory, "" for this process's own (which stays as it is).
  std::string directory = "";
};

class ToolProcess {
 public:
  // Each progress piece (at most 1024 characters, cut at line ends where possible).
  using Sink = std::function<void(const std::string& piece)>;

  // How a tool of RunEach ended: the signal that ended it (0 when it exited by itself or was
  // stopped by a stop signal); why it could not start ("" when it started).
  struct Outcome {
    int signal = 0;
    std::string startFailure;
  };
  // The next tool for a free slot (0 to parallel - 1), nothing when there is none left.
  using NextTool = std::function<std::optional<ToolProcessStart>(std::size_t slot)>;
  // A slot's tool has ended (or could not start), before the slot's next tool is asked for.
  using ToolEnded = std::function<void(std::size_t slot, const Outcome& outcome)>;

  // Runs the tool and returns once it has ended (or could not start).
  void Run(const ToolProcessStart& start, const Sink& sink);

  // Runs the tools next gives, at most parallel at once, and returns once next has no more
  // and every tool has ended. All their output goes to sink, piece by piece as it comes.
  void RunEach(std::size_t parallel, const NextTool& next, const ToolEnded& ended,
               const Sink& sink);

  // The signal that ended the tool of the last Run, 0 when it exited by itself, could not
  // start or was stopped by a stop signal.
  int EndSignal() const { return endSignal_; }

  // How long the group has between SIGTERM and SIGKILL after a stop signal.
  static constexpr int kGraceMilliseconds = 1500;

 private:
  int endSignal_ = 0;
};
