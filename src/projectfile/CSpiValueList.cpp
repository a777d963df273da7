#include "CSpiValueList.h"

#include "SpiText.h"

void CSpiValueList::Append(std::string value) {
  if (values_.empty()) values_.reserve(4);  // most directives have a few values
  values_.push_back(std::move(value));
}

void CSpiValueList::Clear() {
  values_.clear();
  cursor_ = kNone;
}

void CSpiValueList::Rewind() { cursor_ = values_.empty() ? kNone : 0; }

bool CSpiValueList::Next(std::string& value) {
  if (cursor_ >= values_.size()) {
    Rewind();
    return false;
  }
  value = values_[cursor_];
  if (++cursor_ >= values_.size()) cursor_ = kNone;
  return true;
}

bool CSpiValueList::EqualsIgnoringCase(const CSpiValueList& other) const {
  if (values_.size() != other.values_.size()) return false;
  for (std::size_t i = 0; i < values_.size(); ++i)
    if (!spi::EqualsIgnoringCase(values_[i], other.values_[i])) return false;
  return true;
}

bool CSpiValueList::ContainsIgnoringCase(std::string_view word) const {
  for (const auto& value : values_)
    if (spi::EqualsIgnoringCase(value, word)) return true;
  return false;
}
