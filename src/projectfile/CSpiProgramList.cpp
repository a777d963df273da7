#include "CSpiProgramList.h"

#include "SpiText.h"

namespace {

// The program name stored at a position of the list, for the index.
auto ProgramNamed(const std::vector<std::unique_ptr<CSpiProgram>>& programs,
                  std::string_view name) {
  return
      [&programs, name](std::size_t i) { return spi::EqualsIgnoringCase(programs[i]->name, name); };
}

}  // namespace

CSpiProgram* CSpiProgramList::Find(std::string_view programName) const {
  const std::size_t found =
      programIndex_.Find(SpiNameIndex::Hash(programName), ProgramNamed(programs_, programName));
  return found == SpiNameIndex::kNone ? nullptr : programs_[found].get();
}

CSpiProgram& CSpiProgramList::Append(std::string programName, int firstLevel) {
  const auto position = static_cast<std::uint32_t>(programs_.size());
  programs_.push_back(
      std::make_unique<CSpiProgram>(*this, position, std::move(programName), firstLevel));
  // Only the first program of a name is indexed: lookups take the first match.
  const std::string_view name = programs_.back()->name;
  programIndex_.Add(SpiNameIndex::Hash(name), position, ProgramNamed(programs_, name));
  return *programs_.back();
}

CSpiProgram& CSpiProgramList::FindOrAppend(std::string_view programName, int firstLevel) {
  // The model gets the new entry before the index does, so that a failed allocation leaves
  // both as they were.
  const auto probe = programIndex_.FindForInsert(SpiNameIndex::Hash(programName),
                                                 ProgramNamed(programs_, programName));
  if (probe.position != SpiNameIndex::kNone) return *programs_[probe.position];
  const auto position = static_cast<std::uint32_t>(programs_.size());
  programs_.push_back(
      std::make_unique<CSpiProgram>(*this, position, std::string(programName), firstLevel));
  programIndex_.Insert(probe, position);
  return *programs_.back();
}

void CSpiProgramList::Clear() {
  programs_.clear();
  programIndex_.Clear();
  blocks_.clear();
  directives_ = 0;
  directiveIndex_.Clear();
  arena_.Release();
}

std::size_t CSpiProgramList::BytesHeld() const {
  return arena_.BytesHeld() + programIndex_.BytesHeld() + directiveIndex_.BytesHeld() +
         blocks_.capacity() * sizeof(CSpiDirective*) + programs_.capacity() * sizeof(programs_[0]) +
         programs_.size() * sizeof(CSpiProgram);
}

auto CSpiProgramList::DirectiveNamed(std::uint32_t program, std::string_view name) const {
  return [this, program, name](std::size_t i) {
    const CSpiDirective* d = DirectiveAt(i);
    return d->program == program && spi::EqualsIgnoringCase(d->name, name);
  };
}

CSpiDirective& CSpiProgramList::NewDirective(CSpiProgram& program, std::string_view name,
                                             int level) {
  const std::size_t position = directives_;
  if ((position >> kBlockShift) >= blocks_.size())
    blocks_.push_back(arena_.AllocateArray<CSpiDirective>(kBlockSize));
  CSpiDirective* directive = new (DirectiveAt(position)) CSpiDirective(name, level);
  ++directives_;
  directive->program = program.position_;
  const auto link = static_cast<std::uint32_t>(position + 1);
  if (program.last_ != 0)
    DirectiveAt(program.last_ - 1)->next = link;
  else
    program.first_ = link;
  program.last_ = link;
  ++program.count_;
  return *directive;
}

CSpiDirective* CSpiProgramList::FindDirective(const CSpiProgram& program,
                                              std::string_view name) const {
  const std::size_t found = directiveIndex_.Find(SpiNameIndex::Hash(name, program.position_),
                                                 DirectiveNamed(program.position_, name));
  return found == SpiNameIndex::kNone ? nullptr : DirectiveAt(found);
}

CSpiDirective& CSpiProgramList::AppendDirective(CSpiProgram& program, std::string_view name,
                                                int level, bool copyName, bool index) {
  if (copyName) name = arena_.Copy(name);
  CSpiDirective& directive = NewDirective(program, name, level);
  // Only the first directive of a name is indexed: lookups take the first match.
  if (index)
    directiveIndex_.Add(SpiNameIndex::Hash(name, program.position_), directives_ - 1,
                        DirectiveNamed(program.position_, name));
  return directive;
}

CSpiDirective& CSpiProgramList::FindOrAppendDirective(CSpiProgram& program, std::string_view name,
                                                      int level, bool copyName) {
  const auto probe = directiveIndex_.FindForInsert(SpiNameIndex::Hash(name, program.position_),
                                                   DirectiveNamed(program.position_, name));
  if (probe.position != SpiNameIndex::kNone) return *DirectiveAt(probe.position);
  CSpiDirective& directive = AppendDirective(program, name, level, copyName, false);
  directiveIndex_.Insert(probe, directives_ - 1);
  return directive;
}
