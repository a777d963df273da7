// Starting a flow's tool through the launcher operation its ToolStart names, attached to
// owner (the dialog's window, or the console's hidden one). Needs the launcher; UI thread.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"
#include "verify/ToolRunner.h"

class CToolLauncher;

// Starts the tool in start.directory when one is given: the process enters it for the start
// and comes straight back (the started tool keeps it), so that several tools can start from
// one process. Returns "" when the tool started, else why not (nothing started).
std::string StartTool(CToolLauncher& launcher, const ToolStart& start, const std::string& product,
                      HWND owner);
