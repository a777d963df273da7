#include "CSpiProgramList.h"

CSpiProgram* CSpiProgramList::Find(std::string_view programName) const {
  const std::size_t found = index_.Find(
      programName, [this](std::size_t i) -> std::string_view { return programs_[i]->name; });
  return found == SpiNameIndex::kNone ? nullptr : programs_[found].get();
}

CSpiProgram& CSpiProgramList::Append(std::string programName, int firstLevel) {
  programs_.push_back(std::make_unique<CSpiProgram>(std::move(programName), firstLevel));
  // Only the first program of a name is indexed: lookups take the first match.
  index_.Add(programs_.back()->name, programs_.size() - 1,
             [this](std::size_t i) -> std::string_view { return programs_[i]->name; });
  return *programs_.back();
}

void CSpiProgramList::Clear() {
  programs_.clear();
  index_.Clear();
}
