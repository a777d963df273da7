#include "projectfile/SpiNameIndex.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "projectfile/SpiArena.h"

namespace {

constexpr std::uint64_t kKey0 = 0xa0761d6478bd642full;
constexpr std::uint64_t kKey1 = 0xe7037ed1a0b428dbull;
constexpr std::uint64_t kKey2 = 0x8ebc6af09c88c6e3ull;
// Bit 0x20 set in every byte: ASCII letters that differ only in case hash alike. A few other
// byte pairs ('@' and '`', say) do too; the comparison after the hash tells them apart.
constexpr std::uint64_t kCaseBits = 0x2020202020202020ull;
// Tables from this size on are taken from whole pages (zeroed by the system).
constexpr std::size_t kLargeTableBytes = std::size_t{256} << 10;

std::uint64_t Load8(const char* data) {
  std::uint64_t word;
  std::memcpy(&word, data, 8);
  return word | kCaseBits;
}

std::uint64_t Load4(const char* data) {
  std::uint32_t word;
  std::memcpy(&word, data, 4);
  return word | static_cast<std::uint32_t>(kCaseBits);
}

std::uint64_t Byte(char c) { return static_cast<unsigned char>(c) | 0x20u; }

// The 128-bit product of a and b, its halves folded: one multiplication mixes all the bits.
std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
  __extension__ using Wide = unsigned __int128;
  const Wide product = static_cast<Wide>(a) * b;
  return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

}  // namespace

std::uint32_t SpiNameIndex::Hash(std::string_view name, std::uint32_t seed) {
  // Names are short: up to 16 bytes are read as a few overlapping words (no loop, no byte
  // loop), longer ones 16 bytes a round.
  const char* data = name.data();
  const std::size_t size = name.size();
  std::uint64_t hash = kKey0 ^ (static_cast<std::uint64_t>(seed) * kKey2);
  std::uint64_t a = 0;
  std::uint64_t b = 0;
  if (size >= 4 && size <= 16) {
    const std::size_t middle = (size >> 3) << 2;
    a = Load4(data) << 32 | Load4(data + middle);
    b = Load4(data + size - 4) << 32 | Load4(data + size - 4 - middle);
  } else if (size > 0 && size < 4) {
    a = Byte(data[0]) << 16 | Byte(data[size >> 1]) << 8 | Byte(data[size - 1]);
  } else if (size > 16) {
    std::size_t left = size;
    for (; left > 16; data += 16, left -= 16)
      hash = Fold(Load8(data) ^ kKey1, Load8(data + 8) ^ hash);
    a = Load8(data + left - 16);
    b = Load8(data + left - 8);
  }
  hash = Fold(a ^ kKey1, b ^ hash);
  hash = Fold(hash ^ kKey0, size ^ kKey1);
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

void SpiNameIndex::Reserve(std::size_t count) {
  // At most 70% full once count entries are in: room for the last insertions' probes.
  if (count * 4 > size_ * 3) Resize(std::max(kFirstSize, count * 10 / 7 + 1));
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
  // The old table stays alive (in the moved-from holders or the arena) until its entries
  // are moved into the new one.
  std::vector<Slot> oldSmall = std::exchange(small_, std::move(small));
  SpiPages oldLarge = std::exchange(large_, std::move(large));
  const Slot* old = std::exchange(slots_, table);
  const std::size_t oldSize = std::exchange(size_, slots);
  for (std::size_t i = 0; i < oldSize; ++i) {
    if (old[i].position == kEmpty) continue;
    std::size_t at = Start(old[i].hash);
    while (table[at].position != kEmpty) at = After(at);
    table[at] = old[i];
  }
}

void SpiNameIndex::Clear() {
  small_ = {};
  large_ = SpiPages();
  slots_ = nullptr;
  size_ = used_ = 0;
}
