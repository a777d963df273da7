#include "CSpiProgram.h"

#include "SpiText.h"

CSpiDirective* CSpiProgram::FindDirective(std::string_view directiveName) const {
  const auto found = index_.find(spi::ToLower(directiveName));
  return found == index_.end() ? nullptr : directives_[found->second].get();
}

CSpiDirective& CSpiProgram::AppendDirective(std::string directiveName, int createdAtLevel) {
  // Only the first directive of a name is indexed: lookups take the first match.
  index_.try_emplace(spi::ToLower(directiveName), directives_.size());
  directives_.push_back(std::make_unique<CSpiDirective>(std::move(directiveName), createdAtLevel));
  return *directives_.back();
}
