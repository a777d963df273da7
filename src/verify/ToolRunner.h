// The one interface through which a flow's run starts its tool: the dialog's runner starts it
// with the dialog's window and shows the progress dialog; the console's starts it attached to a
// hidden window and streams its progress to standard error; tests use a fake that writes the
// reports a tool would. Standard C++ only; UI thread.
#pragma once

#include <string>

// Which launcher operation starts the tool.
enum class ToolOperation { Cellsim, LibKit };

// One start of a flow's tool, composed by the flow's run.
struct ToolStart {
  ToolOperation operation = ToolOperation::Cellsim;
  std::string program;     // the tool's path, as the launcher takes it
  std::string arguments;   // the argument text, exactly as composed
  std::string statusText;  // the progress dialog's status line
};

class ToolRunner {
 public:
  virtual ~ToolRunner() = default;
  // Starts the tool in the current directory and returns when it has ended: true when it
  // ended by itself, false when the user cancelled it (the run then has no verdict).
  virtual bool Run(const ToolStart& start) = 0;
  // The signal that ended the last tool Run started, or 0 when it exited by itself: reports
  // written before a tool was killed cannot be trusted.
  virtual int EndSignal() const { return 0; }
};
