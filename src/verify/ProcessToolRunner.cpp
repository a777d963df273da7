#include "verify/ProcessToolRunner.h"

#include <iostream>
#include <optional>
#include <vector>

#include "verify/WorkingDirectory.h"

bool ProcessToolRunner::Run(const ToolStart& start) {
  std::cerr << start.statusText << "\n" << start.note;
  // Only a run in a folder of its own leaves the current directory and comes back.
  std::optional<CurrentDirectoryGuard> back;
  if (!start.directory.empty()) back.emplace();
  if (std::string why; !start.directory.empty() && !EnterDirectory(start.directory, &why)) {
    Tell(why, true);
    return false;
  }
  process_.Run({ToolOperationName(start.operation), start.arguments, product_, start.program},
               [](const std::string& piece) { std::cerr << piece << std::flush; });
  return true;
}

bool ProcessToolRunner::RunEach(std::size_t count, std::size_t parallel, const ComposeTool& compose,
                                const ToolEnded& ended) {
  std::size_t nextIndex = 0;
  std::vector<std::size_t> indexOfSlot(std::max<std::size_t>(parallel, 1), 0);
  // The next composed tool for the slot (the tool process tells one whose directory cannot be
  // entered as a start failure).
  const auto next = [&](std::size_t slot) -> std::optional<ToolProcessStart> {
    while (nextIndex < count) {
      const std::size_t index = nextIndex++;
      const std::optional<ToolStart> start = compose(index, slot);
      if (!start) continue;
      std::cerr << start->statusText << "\n" << start->note;
      indexOfSlot[slot] = index;
      return ToolProcessStart{ToolOperationName(start->operation), start->arguments, product_,
                              start->program, start->directory};
    }
    return std::nullopt;
  };
  process_.RunEach(
      parallel, next,
      [&](std::size_t slot, const ToolProcess::Outcome& outcome) {
        ended(indexOfSlot[slot], slot, {outcome.signal, outcome.startFailure});
      },
      [](const std::string& piece) { std::cerr << piece << std::flush; });
  return true;
}

void ProcessToolRunner::Tell(const std::string& text, bool) { std::cerr << text << "\n"; }
