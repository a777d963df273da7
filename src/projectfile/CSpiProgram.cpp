#include "projectfile/CSpiProgram.h"

namespace {

// The directive name stored at a position of the list, for the index.
auto NameAt(const std::vector<std::unique_ptr<CSpiDirective>>& directives) {
  return [&directives](std::size_t i) -> std::string_view { return directives[i]->name; };
}

}  // namespace

CSpiDirective* CSpiProgram::FindDirective(std::string_view directiveName) const {
  const std::size_t found = index_.Find(directiveName, NameAt(directives_));
  return found == SpiNameIndex::kNone ? nullptr : directives_[found].get();
}

CSpiDirective& CSpiProgram::AppendDirective(std::string directiveName, int createdAtLevel) {
  directives_.push_back(std::make_unique<CSpiDirective>(std::move(directiveName), createdAtLevel));
  // Only the first directive of a name is indexed: lookups take the first match.
  index_.Add(directives_.back()->name, directives_.size() - 1, NameAt(directives_));
  return *directives_.back();
}

CSpiDirective& CSpiProgram::FindOrAppendDirective(std::string_view directiveName,
                                                  int createdAtLevel) {
  // The model gets the new entry before the index does, so that a failed allocation leaves
  // both as they were.
  const auto probe = index_.FindForInsert(directiveName, NameAt(directives_));
  if (probe.position != SpiNameIndex::kNone) return *directives_[probe.position];
  directives_.push_back(
      std::make_unique<CSpiDirective>(std::string(directiveName), createdAtLevel));
  index_.Insert(probe, directives_.size() - 1);
  return *directives_.back();
}
