#include "CSpiProgram.h"

CSpiDirective* CSpiProgram::FindDirective(std::string_view directiveName) const {
  const std::size_t found = index_.Find(
      directiveName, [this](std::size_t i) -> std::string_view { return directives_[i]->name; });
  return found == SpiNameIndex::kNone ? nullptr : directives_[found].get();
}

CSpiDirective& CSpiProgram::AppendDirective(std::string directiveName, int createdAtLevel) {
  directives_.push_back(std::make_unique<CSpiDirective>(std::move(directiveName), createdAtLevel));
  // Only the first directive of a name is indexed: lookups take the first match.
  index_.Add(directives_.back()->name, directives_.size() - 1,
             [this](std::size_t i) -> std::string_view { return directives_[i]->name; });
  return *directives_.back();
}
