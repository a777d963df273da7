#include "verify/ToolRunObserver.h"

#include "outside/CToolLauncher.h"

bool ObserveToolMessage(CToolLauncher& launcher, unsigned message, WPARAM wParam,
                        ToolRunSink& sink) {
  if (message == WM_TOOL_PROGRESS) {
    sink.OnToolProgress(launcher.GetProgressDialogDetail());
    return true;
  }
  if (message == WM_TOOL_ENDED) {
    if (wParam == 1) sink.OnToolEnded();
    return true;
  }
  return false;
}
