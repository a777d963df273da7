#include "CSpiProgramList.h"

#include "SpiText.h"

CSpiProgram* CSpiProgramList::Find(std::string_view programName) const {
  const auto found = index_.find(spi::ToLower(programName));
  return found == index_.end() ? nullptr : programs_[found->second].get();
}

CSpiProgram& CSpiProgramList::Append(std::string programName, int firstLevel) {
  index_.try_emplace(spi::ToLower(programName), programs_.size());
  programs_.push_back(std::make_unique<CSpiProgram>(std::move(programName), firstLevel));
  return *programs_.back();
}

void CSpiProgramList::Clear() {
  programs_.clear();
  index_.clear();
}
