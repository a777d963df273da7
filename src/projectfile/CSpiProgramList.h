// The ordered, owned list of programs of a project model, indexed by name for lookups that
// ignore ASCII case and take the first match in list order.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "projectfile/CSpiProgram.h"
#include "projectfile/SpiNameIndex.h"

class CSpiProgramList {
 public:
  CSpiProgram* Find(std::string_view programName) const;
  // Appends a new program (even when the name exists already); its address stays stable.
  CSpiProgram& Append(std::string programName, int firstLevel);
  // Find, else Append, with one index lookup.
  CSpiProgram& FindOrAppend(std::string_view programName, int firstLevel);
  void Clear();

  const std::vector<std::unique_ptr<CSpiProgram>>& Programs() const { return programs_; }
  bool Empty() const { return programs_.empty(); }

 private:
  std::vector<std::unique_ptr<CSpiProgram>> programs_;
  SpiNameIndex index_;
};
