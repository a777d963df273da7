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
constexpr std::size_t kMaxValues = (std::size_t{1} << 31) - 1;  // the body's count
constexpr std::size_t kCompactReach = std::numeric_limits<std::uint16_t>::max();

// The span of memory from the first to the end of the last text, when it fits the body's
// 32-bit offsets.
bool WithinReach(std::span<const std::string_view> values, const char*& base, std::size_t& span) {
  const char* low = nullptr;
  const char* high = nullptr;
  std::less<const char*> before;
  for (const std::string_view value : values) {
    if (value.empty()) continue;  // an empty value is stored without an address
    if (!low || before(value.data(), low)) low = value.data();
    if (!high || before(high, value.data() + value.size())) high = value.data() + value.size();
  }
  base = low;
  span = low ? static_cast<std::size_t>(high - low) : 0;
  return span <= kReach;
}

}  // namespace

void CSpiValueList::Assign(std::span<const std::string_view> values, SpiArena& arena) {
  if (values.empty()) {
    body_ = nullptr;
    return;
  }
  const char* base;
  std::size_t span;
  std::vector<std::string_view> copies;
  if (!WithinReach(values, base, span)) {
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
    span = total;
  }
  if (values.size() > kMaxValues) throw std::length_error("too many values in one directive");
  const bool compact = span <= kCompactReach;
  const std::size_t bytes =
      sizeof(SpiValueBody) +
      (compact ? sizeof(SpiCompactValueSlot) : sizeof(SpiValueSlot)) * values.size();
  auto* body = static_cast<SpiValueBody*>(arena.Allocate(bytes, alignof(SpiValueBody)));
  body->base = base;
  body->size = static_cast<std::uint32_t>(values.size());
  body->compact = compact ? 1 : 0;
  body->cursor = kNone;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::size_t offset =
        values[i].empty() ? 0 : static_cast<std::size_t>(values[i].data() - base);
    if (compact)
      body->CompactSlots()[i] = {static_cast<std::uint16_t>(offset),
                                 static_cast<std::uint16_t>(values[i].size())};
    else
      body->Slots()[i] = {static_cast<std::uint32_t>(offset),
                          static_cast<std::uint32_t>(values[i].size())};
  }
  body_ = body;
}

void CSpiValueList::Append(std::string_view value, SpiArena& arena) {
  std::vector<std::string_view> values(Values().begin(), Values().end());
  values.push_back(arena.Copy(value));
  const std::uint32_t cursor = body_ ? body_->cursor : kNone;
  Assign(values, arena);
  body_->cursor = cursor;  // appending does not move the cursor
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
