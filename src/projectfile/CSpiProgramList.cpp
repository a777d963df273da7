#include "projectfile/CSpiProgramList.h"

namespace {

// The program name stored at a position of the list, for the index.
auto NameAt(const std::vector<std::unique_ptr<CSpiProgram>>& programs) {
  return [&programs](std::size_t i) -> std::string_view { return programs[i]->name; };
}

}  // namespace

CSpiProgram* CSpiProgramList::Find(std::string_view programName) const {
  const std::size_t found = index_.Find(programName, NameAt(programs_));
  return found == SpiNameIndex::kNone ? nullptr : programs_[found].get();
}

CSpiProgram& CSpiProgramList::Append(std::string programName, int firstLevel) {
  programs_.push_back(std::make_unique<CSpiProgram>(std::move(programName), firstLevel));
  // Only the first program of a name is indexed: lookups take the first match.
  index_.Add(programs_.back()->name, programs_.size() - 1, NameAt(programs_));
  return *programs_.back();
}

CSpiProgram& CSpiProgramList::FindOrAppend(std::string_view programName, int firstLevel) {
  // The model gets the new entry before the index does, so that a failed allocation leaves
  // both as they were.
  const auto probe = index_.FindForInsert(programName, NameAt(programs_));
  if (probe.position != SpiNameIndex::kNone) return *programs_[probe.position];
  programs_.push_back(std::make_unique<CSpiProgram>(std::string(programName), firstLevel));
  index_.Insert(probe, programs_.size() - 1);
  return *programs_.back();
}

void CSpiProgramList::Clear() {
  programs_.clear();
  index_.Clear();
}
