#include "SpiNameIndex.h"

#include "SpiText.h"

std::uint32_t SpiNameIndex::Hash(std::string_view name) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the lower-case bytes
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(spi::ToLower(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
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
