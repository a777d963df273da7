#include "verify/ConsoleToolRunner.h"

#include <iostream>
#include <vector>

#include "framework/WindowMessage.h"
#include "outside/CToolLauncher.h"
#include "verify/ConsoleToolRun.h"
#include "verify/ToolLaunch.h"

bool ConsoleToolRunner::Run(const ToolStart& start) {
  bool started = false;
  RunEach(
      1, 1, [&](std::size_t, std::size_t) { return std::optional<ToolStart>(start); },
      [&](std::size_t, std::size_t, const ToolEnd& end) { started = end.startFailure.empty(); });
  return started;
}

int ConsoleToolRunner::EndSignal() const { return launcher_.GetLastEndSignal(); }

bool ConsoleToolRunner::RunEach(std::size_t count, std::size_t parallel, const ComposeTool& compose,
                                const ToolEnded& ended) {
  std::vector<bool> composed(count, false);
  std::vector<std::string> failures(count);
  std::vector<HWND> owners(std::max<std::size_t>(parallel, 1), nullptr);
  StreamSink sink(std::cerr);
  ConsoleToolRun(launcher_, sink)
      .RunEach(
          count, parallel,
          [&](std::size_t index, std::size_t slot, CToolLauncher& launcher, HWND owner) {
            owners[slot] = owner;
            const std::optional<ToolStart> start = compose(index, slot);
            composed[index] = start.has_value();
            if (start) {
              std::cerr << start->statusText << "\n" << start->note;
              failures[index] = StartTool(launcher, *start, product_, owner);
              if (!failures[index].empty()) std::cerr << failures[index] << "\n";
            }
            // A tool that did not start ends at once: its owner gets the end message the
            // launcher would have sent, so that nothing waits for it.
            if (!start || !failures[index].empty()) PostMessage(owner, WM_TOOL_ENDED, 1, 0);
          },
          [&](std::size_t index, std::size_t slot) {
            if (!composed[index]) return;
            ToolEnd end;
            end.startFailure = failures[index];
            if (end.startFailure.empty()) end.signal = launcher_.GetEndSignal(owners[slot]);
            ended(index, slot, end);
          });
  return true;
}

void ConsoleToolRunner::Tell(const std::string& text, bool) { std::cerr << text << "\n"; }
