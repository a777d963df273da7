// The owner side of a tool run, decoded once: the launcher's two window messages become
// calls on a sink. The progress dialog (ProgressDialogSink) and the tests each supply a sink.
// UI thread only; nothing is owned.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"

class CToolLauncher;

class ToolRunSink {
 public:
  virtual ~ToolRunSink() = default;
  // Each progress piece of the tool's output, in order.
  virtual void OnToolProgress(const std::string& detail) = 0;
  // Once, when the tool has ended (also after a cancel or a start that failed).
  virtual void OnToolEnded() = 0;
};

// For an owner's OnMessage: WM_TOOL_PROGRESS fetches the newest detail from the launcher and
// hands it to the sink; WM_TOOL_ENDED with wParam 1 ends the run (other wParam values are not
// an end). Returns true when the message was one of the two (the owner then returns 1).
bool ObserveToolMessage(CToolLauncher& launcher, unsigned message, WPARAM wParam,
                        ToolRunSink& sink);
