#include "verify/ConsoleToolRunner.h"

#include <iostream>

#include "outside/CToolLauncher.h"
#include "verify/ConsoleToolRun.h"
#include "verify/ToolLaunch.h"

bool ConsoleToolRunner::Run(const ToolStart& start) {
  std::cerr << start.statusText << "\n";
  StreamSink sink(std::cerr);
  ConsoleToolRun(launcher_, sink).Run([&](CToolLauncher& launcher, HWND owner) {
    StartTool(launcher, start, product_, owner);
  });
  return true;
}

int ConsoleToolRunner::EndSignal() const { return launcher_.GetLastEndSignal(); }
