// A project model: the ordered list of programs, each with its directives, indexed by name
// for lookups that ignore ASCII case and take the first match in list order. The model owns
// one arena (SpiArena) with the bytes of every file read into it, the programs, all
// directives (in blocks, by value) and their value lists, the small name indexes, and every
// name and value added later.
// Clear or the destructor releases it all at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "projectfile/CSpiProgram.h"
#include "projectfile/SpiArena.h"
#include "projectfile/SpiNameIndex.h"

class CSpiProgramList {
 public:
  CSpiProgramList() = default;
  ~CSpiProgramList();
  CSpiProgramList(const CSpiProgramList&) = delete;
  CSpiProgramList& operator=(const CSpiProgramList&) = delete;

  CSpiProgram* Find(std::string_view programName) const;
  // Appends a new program (even when the name exists already); its address stays stable.
  CSpiProgram& Append(std::string programName, int firstLevel);
  // Find, else Append, with one index lookup.
  CSpiProgram& FindOrAppend(std::string_view programName, int firstLevel);
  void Clear();

  // The programs in list order; they live in the model's arena.
  const std::vector<CSpiProgram*>& Programs() const { return programs_; }
  bool Empty() const { return programs_.empty(); }

  // The memory of the model: names and values given to it must live here.
  SpiArena& Arena() { return arena_; }
  // Room for count more directives of program in its index without growing on the way.
  static void ReserveDirectives(CSpiProgram& program, std::size_t count) {
    program.index_.Reserve(program.count_ + count);
  }
  std::size_t DirectiveCount() const { return directives_; }
  // Memory held by the model (arena, index, program list), for measurements.
  std::size_t BytesHeld() const;

 private:
  friend class CSpiProgram;

  CSpiDirective* DirectiveAt(std::size_t position) const {
    return &blocks_[position >> kBlockShift][position & (kBlockSize - 1)];
  }
  CSpiDirective* FindDirective(const CSpiProgram& program, std::string_view name,
                               std::uint32_t hash) const;
  CSpiDirective& AppendDirective(CSpiProgram& program, std::string_view name, int level,
                                 bool copyName, bool index);
  CSpiDirective& FindOrAppendDirective(CSpiProgram& program, std::string_view name,
                                       std::uint32_t hash, int level, bool copyName);
  // Whether the directive at a position is named name (ignoring case).
  auto DirectiveNamed(std::string_view name) const;
  CSpiDirective& NewDirective(CSpiProgram& program, std::string_view name, int level);
  // A new program at the end of the list, made in the arena.
  CSpiProgram& NewProgram(std::string name, int level);
  // Runs the programs' destructors (their names and large indexes), before the arena goes.
  void DestroyPrograms();

  static constexpr std::size_t kBlockShift = 10;
  static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockShift;

  SpiArena arena_;
  std::vector<CSpiProgram*> programs_;
  SpiNameIndex programIndex_;
  std::vector<CSpiDirective*> blocks_;  // kBlockSize directives each, in the arena
  std::size_t directives_ = 0;
};
