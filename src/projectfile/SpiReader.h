// Reading one project file into a program list at a level.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CSpiFile;
class CSpiDirective;
class CSpiProgram;
class CSpiProgramList;

// The acceptance seam: is a value of a directive given at a level honoured, and what to do
// with a refused one. The defaults honour everything.
struct SpiReadPolicy {
  std::function<bool(const CSpiDirective&, int level)> honoured;
  // Called for a refused value before it is stored (for the log of refusals).
  std::function<void(const std::string& programName, const CSpiDirective&, int level)> refused;
  // When set, a read that needs only some directives: the lines of a directive that is not in
  // the model already are kept only when wanted (program, name, SpiNameIndex::Hash of name)
  // says so, and the sections of a program that is not in the model already only when
  // wantedProgram (its name) says so; the others are checked for format errors as always and
  // passed over.
  std::function<bool(const CSpiProgram&, std::string_view name, std::uint32_t hash)> wanted;
  std::function<bool(std::string_view programName)> wantedProgram;
};

// Reads every section of file into programs at level. 0 on success, -1 on failure (the
// message is in SpiLastMessage; what was read before stays in the model).
int SpiReadFile(CSpiProgramList& programs, CSpiFile& file, int level,
                const SpiReadPolicy& policy = {});
