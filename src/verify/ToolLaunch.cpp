#include "verify/ToolLaunch.h"

#include "outside/CToolLauncher.h"
#include "verify/WorkingDirectory.h"

std::string StartTool(CToolLauncher& launcher, const ToolStart& start, const std::string& product,
                      HWND owner) {
  const CurrentDirectoryGuard back;
  std::string why;
  if (!start.directory.empty() && !EnterDirectory(start.directory, &why)) return why;
  switch (start.operation) {
    case ToolOperation::Cellsim:
      launcher.launchCellsim(start.program, start.arguments, product, owner);
      break;
    case ToolOperation::LibKit:
      launcher.launchLibKit(start.program, start.arguments, product, owner);
      break;
    case ToolOperation::Rulex:
      launcher.launchRulex(start.arguments, product, owner);
      break;
  }
  return "";
}
