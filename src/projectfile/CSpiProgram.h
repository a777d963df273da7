// One program (section) of the merged model with its directives, in order of first
// appearance. Owned by a CSpiProgramList; owns its directives (their addresses are stable).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "projectfile/CSpiDirective.h"
#include "projectfile/SpiNameIndex.h"

class CSpiProgram {
 public:
  CSpiProgram(std::string programName, int firstLevel)
      : name(std::move(programName)), level(firstLevel) {}

  // First directive of that name in list order, ignoring ASCII case; nullptr when none.
  // Constant time (an index), so reading stays linear in the file size.
  CSpiDirective* FindDirective(std::string_view directiveName) const;
  // Appends a new directive created at createdAtLevel (even when the name exists already).
  CSpiDirective& AppendDirective(std::string directiveName, int createdAtLevel);
  // FindDirective, else AppendDirective, with one index lookup.
  CSpiDirective& FindOrAppendDirective(std::string_view directiveName, int createdAtLevel);

  const std::vector<std::unique_ptr<CSpiDirective>>& Directives() const { return directives_; }

  std::string name;  // upper case when read from a file; as given by a caller otherwise
  int level;         // level of first appearance, or at which a caller added it

 private:
  std::vector<std::unique_ptr<CSpiDirective>> directives_;
  SpiNameIndex index_;
};
