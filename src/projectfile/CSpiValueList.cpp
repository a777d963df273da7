#include "projectfile/CSpiValueList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include "projectfile/SpiArena.h"
#include "projectfile/SpiText.h"

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kReach = std::numeric_limits<std::uint32_t>::max();

// The span of memory from the first to the end of the last text, when it fits the body's
// 32-bit offsets.
bool WithinReach(std::span<const std::string_view> values, const char*& base) {
  const char* low = nullptr;
  const char* high = nullptr;
  std::less<const char*> before;
  for (const std::string_view value : values) {
    if (value.empty()) continue;  // an empty value is stored without an address
    if (!low || before(value.data(), low)) low = value.data();
    if (!high || before(high, value.data() + value.size())) high = value.data() + value.size();
  }
  base = low;
  return !low || static_cast<std::size_t>(high - low) <= kReach;
}

}  // namespace

void CSpiValueList::Assign(std::span<const std::string_view> values, SpiArena& arena) {
  if (values.empty()) {
    body_ = nullptr;
    return;
  }
  const char* base;
  std::vector<std::string_view> copies;
  if (!WithinReach(values, base)) {
    // Texts from places far apart (a file's bytes and a caller's values): one copy of all of
    // them side by side.
    std::size_t total = 0;
    for (const std::string_view value : values) total += value.size();
    if (total > kReach) throw std::length_error("values of one directive exceed 4 GB");
    char* text = static_cast<char*>(arena.Allocate(std::max<std::size_t>(total, 1), 1));
    for (const std::string_view value : values) {
      if (!value.empty()) std::memcpy(text, value.data(), value.size());
      copies.emplace_back(text, value.size());
      text += value.size();
    }
    values = copies;
    base = copies.front().data();
  }
  const std::size_t bytes = sizeof(SpiValueBody) + sizeof(SpiValueSlot) * values.size();
  auto* body = static_cast<SpiValueBody*>(arena.Allocate(bytes, alignof(SpiValueBody)));
  body->base = base;
  body->size = static_cast<std::uint32_t>(values.size());
  body->cursor = kNone;
  for (std::size_t i = 0; i < values.size(); ++i)
    body->Slots()[i] = {
        values[i].empty() ? 0u : static_cast<std::uint32_t>(values[i].data() - base),
        static_cast<std::uint32_t>(values[i].size())};
  body_ = body;
}

void CSpiValueList::Append(std::string_view value, SpiArena& arena) {
  std::vector<std::string_view> values(Values().begin(), Values().end());
  values.push_back(arena.Copy(value));
  const std::uint32_t cursor = body_ ? body_->cursor : kNone;
  Assign(values, arena);
  body_->cursor = cursor;  // appending does not move the cursor
}

void CSpiValueList::Rewind() {
  if (body_) body_->cursor = 0;
}

bool CSpiValueList::Next(std::string& value) {
  if (!body_) return false;
  SpiValueBody& body = *body_;
  if (body.cursor >= body.size) {
    Rewind();
    return false;
  }
  value = Values()[body.cursor];
  if (++body.cursor >= body.size) body.cursor = kNone;
  return true;
}

bool CSpiValueList::EqualsIgnoringCase(const CSpiValueList& other) const {
  const SpiValueView mine = Values();
  const SpiValueView theirs = other.Values();
  if (mine.size() != theirs.size()) return false;
  for (std::size_t i = 0; i < mine.size(); ++i)
    if (!spi::EqualsIgnoringCase(mine[i], theirs[i])) return false;
  return true;
}

bool CSpiValueList::ContainsIgnoringCase(std::string_view word) const {
  for (const std::string_view value : Values())
    if (spi::EqualsIgnoringCase(value, word)) return true;
  return false;
}
