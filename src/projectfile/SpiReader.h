// Reading one project file into a program list at a level.
#pragma once

#include <functional>
#include <string>

class CSpiFile;
class CSpiDirective;
class CSpiProgramList;

// The acceptance seam: is a value of a directive given at a level honoured, and what to do
// with a refused one. The defaults honour everything.
struct SpiReadPolicy {
  std::function<bool(const CSpiDirective&, int level)> honoured;
  // Called for a refused value before it is stored (for the log of refusals).
  std::function<void(const std::string& programName, const CSpiDirective&, int level)> refused;
};

// Reads every section of file into programs at level. 0 on success, -1 on failure (the
// message is in SpiLastMessage; what was read before stays in the model).
int SpiReadFile(CSpiProgramList& programs, CSpiFile& file, int level,
                const SpiReadPolicy& policy = {});
