// A read-only view of the values of a value list: random access and iteration give
// std::string_view. Valid as long as the model that holds the list (its arena) and until the
// list is changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// How a value list stores its values: the texts lie within 4 GB after base, each named by an
// offset and a length, half the size of a string_view per value. When all of them lie within
// 64 KB after base (the values of one line, as a file gives them) offset and length take two
// bytes each: a quarter.
struct SpiValueSlot {
  std::uint32_t offset;
  std::uint32_t length;
};
struct SpiCompactValueSlot {
  std::uint16_t offset;
  std::uint16_t length;
};
struct SpiValueBody {
  const char* base;
  std::uint32_t size : 31;
  std::uint32_t compact : 1;  // the slots are SpiCompactValueSlot
  std::uint32_t cursor;       // the list's cursor (CSpiValueList::Next)
  // The size slots follow the body in the same block.
  SpiValueSlot* Slots() { return reinterpret_cast<SpiValueSlot*>(this + 1); }
  SpiCompactValueSlot* CompactSlots() { return reinterpret_cast<SpiCompactValueSlot*>(this + 1); }
  std::string_view operator[](std::size_t i) const {
    if (compact) {
      const SpiCompactValueSlot& slot = reinterpret_cast<const SpiCompactValueSlot*>(this + 1)[i];
      return {base + slot.offset, slot.length};
    }
    const SpiValueSlot& slot = reinterpret_cast<const SpiValueSlot*>(this + 1)[i];
    return {base + slot.offset, slot.length};
  }
};

class SpiValueView {
 public:
  class Iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const SpiValueBody* body, std::size_t at) : body_(body), at_(at) {}
    std::string_view operator*() const { return (*body_)[at_]; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++at_;
      return before;
    }
    difference_type operator-(const Iterator& other) const {
      return static_cast<difference_type>(at_) - static_cast<difference_type>(other.at_);
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    const SpiValueBody* body_ = nullptr;
    std::size_t at_ = 0;
  };

  SpiValueView() = default;
  explicit SpiValueView(const SpiValueBody* body) : body_(body) {}

  std::size_t size() const { return body_ ? body_->size : 0; }
  bool empty() const { return size() == 0; }
  std::string_view operator[](std::size_t i) const { return *Iterator(body_, i); }
  Iterator begin() const { return {body_, 0}; }
  Iterator end() const { return {body_, size()}; }

  // Same values in the same order.
  friend bool operator==(const SpiValueView& a, const SpiValueView& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }
  friend bool operator==(const SpiValueView& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }

 private:
  const SpiValueBody* body_ = nullptr;
};
