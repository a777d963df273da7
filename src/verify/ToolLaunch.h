// Starting a flow's tool through the launcher operation its ToolStart names, attached to
// owner (the dialog's window, or the console's hidden one). Needs the launcher; UI thread.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"
#include "verify/ToolRunner.h"

class CToolLauncher;

void StartTool(CToolLauncher& launcher, const ToolStart& start, const std::string& product,
               HWND owner);
