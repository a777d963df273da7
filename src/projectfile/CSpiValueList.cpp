#include "CSpiValueList.h"

#include "SpiText.h"

CSpiValueList::CSpiValueList(const CSpiValueList& other)
    : body_(other.body_ ? std::make_unique<Body>(*other.body_) : nullptr) {}

CSpiValueList& CSpiValueList::operator=(const CSpiValueList& other) {
  if (this != &other) body_ = other.body_ ? std::make_unique<Body>(*other.body_) : nullptr;
  return *this;
}

CSpiValueList::Body& CSpiValueList::MakeBody() {
  if (!body_) {
    body_ = std::make_unique<Body>();
    body_->values.reserve(4);  // most directives have a few values
  }
  return *body_;
}

void CSpiValueList::Append(std::string value) { MakeBody().values.push_back(std::move(value)); }

void CSpiValueList::Append(std::string_view value) { MakeBody().values.emplace_back(value); }

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
