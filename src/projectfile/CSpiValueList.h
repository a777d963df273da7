// An ordered list of text values with a cursor, as kept per level by a directive. Owns its
// values; plain data for one thread at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CSpiValueList {
 public:
  CSpiValueList() = default;
  CSpiValueList(const CSpiValueList& other);
  CSpiValueList& operator=(const CSpiValueList& other);
  CSpiValueList(CSpiValueList&&) noexcept = default;
  CSpiValueList& operator=(CSpiValueList&&) noexcept = default;
  ~CSpiValueList() = default;

  void Append(std::string value);
  void Append(std::string_view value);
  void Append(const char* value) { Append(std::string_view(value)); }
  // Moves every value of values to the end, growing the list once; values is left with
  // moved-from strings for the caller to clear.
  void AppendAll(std::vector<std::string>& values);
  // Removes all values; the cursor goes to "none".
  void Clear();
  // Cursor to the first value ("none" when the list is empty).
  void Rewind();
  // Delivers the value under the cursor and advances (true). At "none" the cursor goes back to
  // the first value and nothing is delivered (false), so the next call starts over.
  bool Next(std::string& value);

  // The values. For a list that never had a value this is a shared empty vector: take the
  // reference again after appending.
  const std::vector<std::string>& Values() const;
  std::size_t Size() const { return body_ ? body_->values.size() : 0; }
  bool Empty() const { return Size() == 0; }
  // Same number of values, pairwise equal ignoring ASCII case.
  bool EqualsIgnoringCase(const CSpiValueList& other) const;
  // One of the values equals word, ignoring ASCII case.
  bool ContainsIgnoringCase(std::string_view word) const;

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  // A directive keeps eight lists and most of them stay empty: the body is created by the
  // first value, so an empty list is one pointer and costs no allocation.
  struct Body {
    std::vector<std::string> values;
    std::size_t cursor = kNone;
  };
  // The body, with room for adding more values.
  Body& MakeBody(std::size_t adding);

  std::unique_ptr<Body> body_;
};
