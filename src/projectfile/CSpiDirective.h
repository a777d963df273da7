// One directive of one program: its values and control words per level, and the flags that
// decide where it is saved. Lives in its model's arena (plain data, never copied); its name
// and values are views into the same arena.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "projectfile/CSpiValueList.h"
#include "projectfile/SpiArena.h"
#include "projectfile/SpiLevel.h"

class CSpiDirective {
 public:
  // The control words per level. Few directives have any, so the four lists are made in the
  // arena when the first is written; until then the directive holds one null pointer.
  class ControlLists {
   public:
    const CSpiValueList& operator[](int level) const {
      static const CSpiValueList kNoWords;
      return lists_ ? lists_[level] : kNoWords;
    }
    // The list of a level for writing, made in arena when needed.
    CSpiValueList& At(int level, SpiArena& arena) {
      if (!lists_) {
        lists_ = arena.AllocateArray<CSpiValueList>(kSpiLevelCount);
        for (int i = 0; i < kSpiLevelCount; ++i) new (&lists_[i]) CSpiValueList();
      }
      return lists_[level];
    }

   private:
    CSpiValueList* lists_ = nullptr;
  };

  CSpiDirective(std::string_view directiveName, int createdAtLevel)
      : name(directiveName), winningLevel(static_cast<std::int8_t>(createdAtLevel)) {}
  CSpiDirective(const CSpiDirective&) = delete;
  CSpiDirective& operator=(const CSpiDirective&) = delete;

  std::string_view name;
  std::array<CSpiValueList, kSpiLevelCount> values;  // what each level's file (or a caller) gave
  ControlLists controls;                             // control words per level
  std::uint32_t next = 0;  // the next directive of its program (model position + 1; 0: none)
  std::int8_t winningLevel = SPI_LEVEL_PROJECT;  // the level whose values are the current value
  std::int8_t doubleQuoted = 0;                  // 1: written with double quotes
  bool projectSet = false;                       // belongs in the project file
  bool userSet = false;                          // belongs in the user file
  std::array<bool, kSpiLevelCount> controlPresent{};  // a control section of that level named it

  const CSpiValueList& WinningValues() const { return values[winningLevel]; }
  CSpiValueList& WinningValues() { return values[winningLevel]; }
};
