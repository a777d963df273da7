// A walk over a standard container, one element at a time: start() places it before the
// first element (or at "none" for an empty container), next() delivers the element and
// moves on, ending at "none" after the last one. The container must outlive the walk, and
// removing the element the walk stands on ends it (the owners reset their cursors then).
#pragma once

#include <optional>

template <class Container>
class Cursor {
 public:
  using Iterator = typename Container::const_iterator;
  using Value = typename Container::value_type;

  // True when there is an element to deliver.
  bool start(const Container& container) {
    container_ = &container;
    position_.reset();
    if (!container.empty()) position_ = container.begin();
    return more();
  }
  void reset() {
    container_ = nullptr;
    position_.reset();
  }
  bool more() const { return position_.has_value(); }
  // The next element, or nullptr when the walk is at "none".
  const Value* next() {
    if (!position_) return nullptr;
    const Value* value = &**position_;
    if (++*position_ == container_->end()) position_.reset();
    return value;
  }

 private:
  const Container* container_ = nullptr;
  std::optional<Iterator> position_;
};
