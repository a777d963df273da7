// One directive of one program: its values and control words per level, and the flags that
// decide where it is saved. Lives in its model's arena (plain data, never copied); its name
// and values are views into the same arena.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "CSpiValueList.h"
#include "SpiLevel.h"

class CSpiDirective {
 public:
  CSpiDirective(std::string_view directiveName, int createdAtLevel)
      : name(directiveName), winningLevel(static_cast<std::int8_t>(createdAtLevel)) {}
  CSpiDirective(const CSpiDirective&) = delete;
  CSpiDirective& operator=(const CSpiDirective&) = delete;

  std::string_view name;
  std::array<CSpiValueList, kSpiLevelCount> values;    // what each level's file (or a caller) gave
  std::array<CSpiValueList, kSpiLevelCount> controls;  // control words per level
  std::uint32_t program = 0;                           // position of its program in the model
  std::uint32_t next = 0;  // the next directive of its program (model position + 1; 0: none)
  std::int8_t winningLevel = SPI_LEVEL_PROJECT;  // the level whose values are the current value
  std::int8_t doubleQuoted = 0;                  // 1: written with double quotes
  bool projectSet = false;                       // belongs in the project file
  bool userSet = false;                          // belongs in the user file
  std::array<bool, kSpiLevelCount> controlPresent{};  // a control section of that level named it

  const CSpiValueList& WinningValues() const { return values[winningLevel]; }
  CSpiValueList& WinningValues() { return values[winningLevel]; }
};
