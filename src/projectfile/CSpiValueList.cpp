#include "projectfile/CSpiValueList.h"

#include <algorithm>

#include "projectfile/SpiText.h"

CSpiValueList::CSpiValueList(const CSpiValueList& other)
    : body_(other.body_ ? std::make_unique<Body>(*other.body_) : nullptr) {}

CSpiValueList& CSpiValueList::operator=(const CSpiValueList& other) {
  if (this != &other) body_ = other.body_ ? std::make_unique<Body>(*other.body_) : nullptr;
  return *this;
}

CSpiValueList::Body& CSpiValueList::MakeBody(std::size_t adding) {
  if (!body_) body_ = std::make_unique<Body>();
  auto& values = body_->values;
  // One value at a time: room for a few, which most directives have.
  if (values.size() + adding > values.capacity())
    values.reserve(std::max(values.size() + adding, adding == 1 ? std::size_t{4} : 0));
  return *body_;
}

void CSpiValueList::Append(std::string value) { MakeBody(1).values.push_back(std::move(value)); }

void CSpiValueList::Append(std::string_view value) { MakeBody(1).values.emplace_back(value); }

void CSpiValueList::AppendAll(std::vector<std::string>& values) {
  if (values.empty()) return;
  auto& mine = MakeBody(values.size()).values;
  for (std::string& value : values) mine.push_back(std::move(value));
}

void CSpiValueList::Clear() {
  if (!body_) return;
  body_->values.clear();
  body_->cursor = kNone;
}

void CSpiValueList::Rewind() {
  if (body_) body_->cursor = body_->values.empty() ? kNone : 0;
}

bool CSpiValueList::Next(std::string& value) {
  if (!body_) return false;
  Body& body = *body_;
  if (body.cursor >= body.values.size()) {
    Rewind();
    return false;
  }
  value = body.values[body.cursor];
  if (++body.cursor >= body.values.size()) body.cursor = kNone;
  return true;
}

const std::vector<std::string>& CSpiValueList::Values() const {
  static const std::vector<std::string> kNoValues;
  return body_ ? body_->values : kNoValues;
}

bool CSpiValueList::EqualsIgnoringCase(const CSpiValueList& other) const {
  const auto& mine = Values();
  const auto& theirs = other.Values();
  if (mine.size() != theirs.size()) return false;
  for (std::size_t i = 0; i < mine.size(); ++i)
    if (!spi::EqualsIgnoringCase(mine[i], theirs[i])) return false;
  return true;
}

bool CSpiValueList::ContainsIgnoringCase(std::string_view word) const {
  for (const auto& value : Values())
    if (spi::EqualsIgnoringCase(value, word)) return true;
  return false;
}
