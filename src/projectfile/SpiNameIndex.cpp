#include "projectfile/SpiNameIndex.h"

#include <cstring>
#include <utility>

#include "projectfile/SpiArena.h"

namespace {

constexpr std::uint64_t kMultiplier = 0x9e3779b97f4a7c15ull;
// Tables from this size on are taken from whole pages (zeroed by the system).
constexpr std::size_t kLargeTableBytes = std::size_t{256} << 10;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash = (hash ^ word) * kMultiplier;
  return hash ^ (hash >> 29);
}

}  // namespace

std::uint32_t SpiNameIndex::Hash(std::string_view name, std::uint32_t seed) {
  // Eight bytes at a time with bit 0x20 set in every byte: ASCII letters that differ only in
  // case hash alike. A few other byte pairs ('@' and '`', say) do too; the comparison after
  // the hash tells them apart.
  constexpr std::uint64_t kCaseBits = 0x2020202020202020ull;
  std::uint64_t hash = Mix(name.size() * kMultiplier, seed);
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

void SpiNameIndex::Reserve(std::size_t count) {
  std::size_t slots = size_ == 0 ? kFirstSize : size_;
  while (count * 4 > slots * 3) slots *= 2;
  if (slots != size_) Resize(slots);
}

void SpiNameIndex::Resize(std::size_t slots) {
  std::vector<Slot> small;
  SpiPages large;
  Slot* table;
  if (slots * sizeof(Slot) >= kLargeTableBytes) {
    large = SpiPages(slots * sizeof(Slot));
    table = reinterpret_cast<Slot*>(large.data());
  } else if (arena_) {
    // The smaller tables before it stay in the arena until the model is released: together
    // no larger than this one.
    table = arena_->AllocateArray<Slot>(slots);
    std::memset(static_cast<void*>(table), 0, slots * sizeof(Slot));
  } else {
    small.assign(slots, Slot{0, kEmpty});
    table = small.data();
  }
  for (std::size_t i = 0; i < size_; ++i) {
    const Slot& slot = slots_[i];
    if (slot.position == kEmpty) continue;
    std::size_t at = slot.hash & (slots - 1);
    while (table[at].position != kEmpty) at = (at + 1) & (slots - 1);
    table[at] = slot;
  }
  small_ = std::move(small);
  large_ = std::move(large);
  slots_ = table;
  size_ = slots;
}

void SpiNameIndex::Clear() {
  small_ = {};
  large_ = SpiPages();
  slots_ = nullptr;
  size_ = used_ = 0;
}
