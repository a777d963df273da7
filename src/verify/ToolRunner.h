// The one interface through which a flow's run starts its tool: the dialog's runner starts it
// with the dialog's window and shows the progress dialog; the console's starts it attached to a
// hidden window and streams its progress to standard error; tests use a fake that writes the
// reports a tool would. Standard C++ only; UI thread.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Which launcher operation starts the tool.
enum class ToolOperation { Cellsim, LibKit, Rulex };

// The launcher operation's name ("launchRulex"), which also names the tool to find.
const char* ToolOperationName(ToolOperation operation);

// One start of a flow's tool, composed by the flow's run.
struct ToolStart {
  ToolOperation operation = ToolOperation::Cellsim;
  std::string program;     // the tool's path, as the launcher takes it ("" for launchRulex)
  std::string arguments;   // the argument text, exactly as composed
  std::string statusText;  // the progress dialog's status line
  // The tool's working directory, made by the flow; "" for the current one. The runner
  // starts the tool there; the process's current directory is the same afterwards.
  std::string directory;
  // Shown before the tool's own output (the progress dialog's detail pane, standard error):
  // what the flow wants the user to read with the progress; "" for nothing.
  std::string note;
};

// How one tool of a sequence ended.
struct ToolEnd {
  int signal = 0;            // the signal that ended it, 0 when it exited by itself
  std::string startFailure;  // why it never started (its directory cannot be entered), else ""
};

class ToolRunner {
 public:
  // Composes tool index of a sequence when it is due, in slot (0 to parallel - 1: a slot holds
  // one tool at a time, so a tool may use a scratch directory of the slot's own); nothing
  // when the flow found it cannot start (the flow has said why).
  using ComposeTool = std::function<std::optional<ToolStart>(std::size_t index, std::size_t slot)>;
  // Called once for each composed tool when it has ended (or failed to start), before its
  // slot's next tool is composed.
  using ToolEnded = std::function<void(std::size_t index, std::size_t slot, const ToolEnd& end)>;

  virtual ~ToolRunner() = default;
  // Starts the tool and returns when it has ended: true when it ended by itself, false when
  // the user cancelled it or it could not start (the run then has no verdict).
  virtual bool Run(const ToolStart& start) = 0;
  // The signal that ended the last tool Run started, or 0 when it exited by itself: reports
  // written before a tool was killed cannot be trusted.
  virtual int EndSignal() const { return 0; }
  // Runs count tools in order, at most parallel at once (a runner may run fewer: the dialog's
  // runs one at a time under one progress dialog). Returns false when the user cancelled: the
  // tool that was running ends and no further one starts; true when every tool was run.
  // By default one at a time through Run, each in its directory.
  virtual bool RunEach(std::size_t count, std::size_t parallel, const ComposeTool& compose,
                       const ToolEnded& ended);
  // Tells the user something the run goes on after (a setup note), or, with error, why a
  // tool could not start. The dialog shows a message box, the console writes a line.
  virtual void Tell(const std::string& text, bool error) = 0;
};
