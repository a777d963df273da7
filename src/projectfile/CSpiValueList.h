// An ordered list of text values with a cursor, as kept per level by a directive.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CSpiValueList {
 public:
  void Append(std::string value);
  // Removes all values; the cursor goes to "none".
  void Clear();
  // Cursor to the first value ("none" when the list is empty).
  void Rewind();
  // Delivers the value under the cursor and advances (true). At "none" the cursor goes back to
  // the first value and nothing is delivered (false), so the next call starts over.
  bool Next(std::string& value);

  const std::vector<std::string>& Values() const { return values_; }
  std::size_t Size() const { return values_.size(); }
  bool Empty() const { return values_.empty(); }
  // Same number of values, pairwise equal ignoring ASCII case.
  bool EqualsIgnoringCase(const CSpiValueList& other) const;
  // One of the values equals word, ignoring ASCII case.
  bool ContainsIgnoringCase(std::string_view word) const;

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::string> values_;
  std::size_t cursor_ = kNone;
};
