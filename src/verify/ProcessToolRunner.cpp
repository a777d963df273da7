#include "verify/ProcessToolRunner.h"

#include <iostream>
#include <optional>

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

void ProcessToolRunner::Tell(const std::string& text, bool) { std::cerr << text << "\n"; }
