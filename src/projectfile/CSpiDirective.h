// One directive of one program: its values and control words per level, and the flags that
// decide where it is saved. Lives in its model's arena (plain data, never copied); its name
// and values are views into the same arena.
//
// A directive usually has values at one level only (the file that named it) and no control
// words, so it keeps the values of its first level itself, and the lists of the other levels
// and its control words in a block made in the arena when one is first written: 40 bytes a
// directive instead of room for eight lists.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "projectfile/CSpiValueList.h"
#include "projectfile/SpiArena.h"
#include "projectfile/SpiLevel.h"

class CSpiDirective {
 public:
  CSpiDirective(std::string_view directiveName, int createdAtLevel)
      : name(directiveName), winningLevel(static_cast<std::int8_t>(createdAtLevel)) {}
  CSpiDirective(const CSpiDirective&) = delete;
  CSpiDirective& operator=(const CSpiDirective&) = delete;

  // What the level's file (or a caller) gave; an empty list when nothing.
  const CSpiValueList& Values(int level) const {
    if (level == firstLevel_) return firstValues_;
    return more_ ? more_->values[level] : NoWords();
  }
  // The level's values for writing, made in arena when needed.
  CSpiValueList& ValuesAt(int level, SpiArena& arena) {
    if (firstLevel_ < 0) firstLevel_ = static_cast<std::int8_t>(level);
    if (level == firstLevel_) return firstValues_;
    return More(arena).values[level];
  }
  // Removes the level's values without making room for them.
  void ClearValues(int level) {
    if (level == firstLevel_)
      firstValues_.Clear();
    else if (more_)
      more_->values[level].Clear();
  }
  // The control words a level's control section gave.
  const CSpiValueList& Controls(int level) const {
    return more_ ? more_->controls[level] : NoWords();
  }
  CSpiValueList& ControlsAt(int level, SpiArena& arena) {
    MoreLists& more = More(arena);
    more.controlled = true;
    return more.controls[level];
  }
  // Whether a control section of that level named the directive (even without words).
  bool ControlPresent(int level) const { return more_ && more_->controlPresent[level]; }
  void SetControlPresent(int level, SpiArena& arena) {
    MoreLists& more = More(arena);
    more.controlled = true;
    more.controlPresent[level] = true;
  }
  // Whether any level may have given control words: false means none did, so that the
  // acceptance of its values needs no look at them.
  bool Controlled() const { return more_ && more_->controlled; }

  const CSpiValueList& WinningValues() const { return Values(winningLevel); }
  CSpiValueList& WinningValues(SpiArena& arena) { return ValuesAt(winningLevel, arena); }

  std::string_view name;

 private:
  struct MoreLists {
    std::array<CSpiValueList, kSpiLevelCount> values;
    std::array<CSpiValueList, kSpiLevelCount> controls;
    std::array<bool, kSpiLevelCount> controlPresent{};
    bool controlled = false;  // ControlsAt or SetControlPresent was called
  };
  static const CSpiValueList& NoWords() {
    static const CSpiValueList kNoWords;
    return kNoWords;
  }
  MoreLists& More(SpiArena& arena) {
    if (!more_) more_ = new (arena.AllocateArray<MoreLists>(1)) MoreLists();
    return *more_;
  }

  CSpiValueList firstValues_;  // the values of firstLevel_
  MoreLists* more_ = nullptr;  // the other levels' values and all control words, once written

 public:
  std::uint32_t next = 0;  // the next directive of its program (model position + 1; 0: none)
  std::int8_t winningLevel = SPI_LEVEL_PROJECT;  // the level whose values are the current value
  std::int8_t doubleQuoted = 0;                  // 1: written with double quotes
  bool projectSet : 1 = false;                   // belongs in the project file
  bool userSet : 1 = false;                      // belongs in the user file

 private:
  std::int8_t firstLevel_ = -1;  // the level of firstValues_; -1 until values are written
};

static_assert(sizeof(CSpiDirective) <= 40, "a directive is kept small: a model holds millions");
