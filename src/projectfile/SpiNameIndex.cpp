#include "projectfile/SpiNameIndex.h"

#include <cstring>

#include "projectfile/SpiText.h"

namespace {

constexpr std::uint64_t kMultiplier = 0x9e3779b97f4a7c15ull;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash = (hash ^ word) * kMultiplier;
  return hash ^ (hash >> 29);
}

}  // namespace

std::uint32_t SpiNameIndex::Hash(std::string_view name) {
  // Eight bytes at a time with bit 0x20 set in every byte: ASCII letters that differ only in
  // case hash alike. A few other byte pairs ('@' and '`', say) do too; the comparison after
  // the hash tells them apart.
  constexpr std::uint64_t kCaseBits = 0x2020202020202020ull;
  std::uint64_t hash = name.size() * kMultiplier;
  const char* data = name.data();
  std::size_t left = name.size();
  for (; left >= 8; data += 8, left -= 8) {
    std::uint64_t word;
    std::memcpy(&word, data, 8);
    hash = Mix(hash, word | kCaseBits);
  }
  if (left > 0) {
    std::uint64_t word = 0;
    std::memcpy(&word, data, left);
    hash = Mix(hash, word | kCaseBits);
  }
  hash *= kMultiplier;
  return static_cast<std::uint32_t>(hash >> 32);
}

bool SpiNameIndex::EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return spi::EqualsIgnoringCase(a, b);
}

void SpiNameIndex::Place(const Slot& slot) {
  std::size_t i = slot.hash & (slots_.size() - 1);
  while (slots_[i].position != kEmpty) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = slot;
}

void SpiNameIndex::Grow() {
  std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
  old.swap(slots_);
  for (const Slot& slot : old)
    if (slot.position != kEmpty) Place(slot);
}
