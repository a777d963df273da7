// An ordered list of text values with a cursor, as kept per level by a directive. The values
// live in the model's arena (SpiArena): the list itself is one pointer, an empty list none at
// all. Changing a list builds its new body in the arena and leaves the old one there, so a
// view taken before a change still reads what it saw. Plain data for one thread at a time.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "projectfile/SpiValueView.h"

class SpiArena;

class CSpiValueList {
 public:
  CSpiValueList() = default;
  // A list is part of its directive and never copied: a copy would share the cursor.
  CSpiValueList(const CSpiValueList&) = delete;
  CSpiValueList& operator=(const CSpiValueList&) = delete;

  // Replaces the values by values, whose texts stay where they are when they lie in the
  // arena already (as a file's read bytes do) and are copied into it otherwise. The cursor
  // goes to "none".
  void Assign(std::span<const std::string_view> values, SpiArena& arena);
  // Appends a copy of value.
  void Append(std::string_view value, SpiArena& arena);
  // Removes all values; the cursor goes to "none".
  void Clear() { body_ = nullptr; }
  // Cursor to the first value ("none" when the list is empty).
  void Rewind() {
    if (body_) body_->cursor = 0;
  }
  // Delivers the value under the cursor and advances (true). At "none" the cursor goes back to
  // the first value and nothing is delivered (false), so the next call starts over.
  bool Next(std::string& value);

  SpiValueView Values() const { return SpiValueView(body_); }
  std::size_t Size() const { return body_ ? body_->size : 0; }
  bool Empty() const { return Size() == 0; }
  // Same number of values, pairwise equal ignoring ASCII case.
  bool EqualsIgnoringCase(const CSpiValueList& other) const;
  // One of the values equals word, ignoring ASCII case.
  bool ContainsIgnoringCase(std::string_view word) const;

 private:
  SpiValueBody* body_ = nullptr;
};
