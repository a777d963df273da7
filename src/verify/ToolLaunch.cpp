#include "verify/ToolLaunch.h"

#include "outside/CToolLauncher.h"

void StartTool(CToolLauncher& launcher, const ToolStart& start, const std::string& product,
               HWND owner) {
  switch (start.operation) {
    case ToolOperation::Cellsim:
      launcher.launchCellsim(start.program, start.arguments, product, owner);
      return;
    case ToolOperation::LibKit:
      launcher.launchLibKit(start.program, start.arguments, product, owner);
      return;
  }
}
