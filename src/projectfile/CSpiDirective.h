// One directive of one program: its values and control words per level, and the flags that
// decide where it is saved. Owned by its CSpiProgram; plain data.
#pragma once

#include <array>
#include <string>

#include "projectfile/CSpiValueList.h"
#include "projectfile/SpiLevel.h"

class CSpiDirective {
 public:
  CSpiDirective(std::string directiveName, int createdAtLevel)
      : name(std::move(directiveName)), winningLevel(createdAtLevel) {}

  std::array<CSpiValueList, kSpiLevelCount> values;    // what each level's file (or a caller) gave
  std::array<CSpiValueList, kSpiLevelCount> controls;  // control words per level
  bool projectSet = false;                             // belongs in the project file
  bool userSet = false;                                // belongs in the user file
  std::array<bool, kSpiLevelCount> controlPresent{};   // a control section of that level named it
  std::string name;
  int winningLevel = SPI_LEVEL_PROJECT;  // the level whose values are the current value
  int doubleQuoted = 0;                  // 1: written with double quotes

  const CSpiValueList& WinningValues() const { return values[winningLevel]; }
  CSpiValueList& WinningValues() { return values[winningLevel]; }
};
