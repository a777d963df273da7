#include "projectfile/CSpiProgram.h"

#include "projectfile/CSpiProgramList.h"

CSpiDirective* CSpiProgram::DirectiveRange::Iterator::operator*() const {
  return list_->DirectiveAt(at_ - 1);
}

CSpiProgram::DirectiveRange::Iterator& CSpiProgram::DirectiveRange::Iterator::operator++() {
  at_ = list_->DirectiveAt(at_ - 1)->next;
  return *this;
}

CSpiDirective* CSpiProgram::FindDirective(std::string_view directiveName,
                                          std::uint32_t hash) const {
  return list_->FindDirective(*this, directiveName, hash);
}

CSpiDirective& CSpiProgram::AppendDirective(std::string_view directiveName, int createdAtLevel) {
  return list_->AppendDirective(*this, directiveName, createdAtLevel, true, true);
}

CSpiDirective& CSpiProgram::FindOrAppendDirective(std::string_view directiveName,
                                                  std::uint32_t hash, int createdAtLevel,
                                                  bool copyName) {
  return list_->FindOrAppendDirective(*this, directiveName, hash, createdAtLevel, copyName);
}
