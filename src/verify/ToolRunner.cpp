#include "verify/ToolRunner.h"

#include "verify/WorkingDirectory.h"

const char* ToolOperationName(ToolOperation operation) {
  switch (operation) {
    case ToolOperation::Cellsim:
      return "launchCellsim";
    case ToolOperation::LibKit:
      return "launchLibKit";
    case ToolOperation::Rulex:
      return "launchRulex";
  }
  return "";
}

bool ToolRunner::RunEach(std::size_t count, std::size_t, const ComposeTool& compose,
                         const ToolEnded& ended) {
  for (std::size_t index = 0; index < count; ++index) {
    const std::optional<ToolStart> start = compose(index, 0);
    if (!start) continue;
    ToolEnd end;
    {
      const CurrentDirectoryGuard back;
      if (!start->directory.empty() && !EnterDirectory(start->directory, &end.startFailure)) {
        ended(index, 0, end);
        continue;
      }
      if (!Run(*start)) return false;
    }
    end.signal = EndSignal();
    ended(index, 0, end);
  }
  return true;
}
