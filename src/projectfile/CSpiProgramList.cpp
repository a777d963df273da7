#include "projectfile/CSpiProgramList.h"

#include <new>

#include "projectfile/SpiText.h"

namespace {

// The program name stored at a position of the list, for the index.
auto ProgramNamed(const std::vector<CSpiProgram*>& programs, std::string_view name) {
  return
      [&programs, name](std::size_t i) { return spi::EqualsIgnoringCase(programs[i]->name, name); };
}

}  // namespace

CSpiProgram* CSpiProgramList::Find(std::string_view programName) const {
  const std::size_t found =
      programIndex_.Find(SpiNameIndex::Hash(programName), ProgramNamed(programs_, programName));
  return found == SpiNameIndex::kNone ? nullptr : programs_[found];
}

CSpiProgramList::~CSpiProgramList() { DestroyPrograms(); }

CSpiProgram& CSpiProgramList::NewProgram(std::string name, int level) {
  // Programs are made in the arena, as directives are: a file of many sections then costs no
  // heap block (and no fresh heap page) per section.
  void* place = arena_.Allocate(sizeof(CSpiProgram), alignof(CSpiProgram));
  programs_.push_back(nullptr);
  try {
    programs_.back() = new (place) CSpiProgram(*this, arena_, std::move(name), level);
  } catch (...) {
    programs_.pop_back();
    throw;
  }
  return *programs_.back();
}

void CSpiProgramList::DestroyPrograms() {
  for (CSpiProgram* program : programs_) program->~CSpiProgram();
  programs_.clear();
}

CSpiProgram& CSpiProgramList::Append(std::string programName, int firstLevel) {
  const auto position = programs_.size();
  NewProgram(std::move(programName), firstLevel);
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
  const auto position = programs_.size();
  NewProgram(std::string(programName), firstLevel);
  programIndex_.Insert(probe, position);
  return *programs_.back();
}

void CSpiProgramList::Clear() {
  DestroyPrograms();
  programIndex_.Clear();
  blocks_.clear();
  directives_ = 0;
  arena_.Release();
}

std::size_t CSpiProgramList::BytesHeld() const {
  std::size_t held = arena_.BytesHeld() + programIndex_.BytesHeld() +
                     blocks_.capacity() * sizeof(CSpiDirective*) +
                     programs_.capacity() * sizeof(programs_[0]);
  // Programs and their small indexes are in the arena; the large indexes are counted here.
  for (const CSpiProgram* program : programs_) held += program->index_.LargeBytesHeld();
  return held;
}

auto CSpiProgramList::DirectiveNamed(std::string_view name) const {
  return
      [this, name](std::size_t i) { return spi::EqualsIgnoringCase(DirectiveAt(i)->name, name); };
}

CSpiDirective& CSpiProgramList::NewDirective(CSpiProgram& program, std::string_view name,
                                             int level) {
  const std::size_t position = directives_;
  if ((position >> kBlockShift) >= blocks_.size())
    blocks_.push_back(arena_.AllocateArray<CSpiDirective>(kBlockSize));
  CSpiDirective* directive = new (DirectiveAt(position)) CSpiDirective(name, level);
  ++directives_;
  const auto link = static_cast<std::uint32_t>(position + 1);
  if (program.last_ != 0)
    DirectiveAt(program.last_ - 1)->next = link;
  else
    program.first_ = link;
  program.last_ = link;
  ++program.count_;
  return *directive;
}

CSpiDirective* CSpiProgramList::FindDirective(const CSpiProgram& program, std::string_view name,
                                              std::uint32_t hash) const {
  const std::size_t found = program.index_.Find(hash, DirectiveNamed(name));
  return found == SpiNameIndex::kNone ? nullptr : DirectiveAt(found);
}

CSpiDirective& CSpiProgramList::AppendDirective(CSpiProgram& program, std::string_view name,
                                                int level, bool copyName, bool index) {
  if (copyName) name = arena_.Copy(name);
  CSpiDirective& directive = NewDirective(program, name, level);
  // Only the first directive of a name is indexed: lookups take the first match.
  if (index) program.index_.Add(SpiNameIndex::Hash(name), directives_ - 1, DirectiveNamed(name));
  return directive;
}

CSpiDirective& CSpiProgramList::FindOrAppendDirective(CSpiProgram& program, std::string_view name,
                                                      std::uint32_t hash, int level,
                                                      bool copyName) {
  const auto probe = program.index_.FindForInsert(hash, DirectiveNamed(name));
  if (probe.position != SpiNameIndex::kNone) return *DirectiveAt(probe.position);
  CSpiDirective& directive = AppendDirective(program, name, level, copyName, false);
  program.index_.Insert(probe, directives_ - 1);
  return directive;
}
