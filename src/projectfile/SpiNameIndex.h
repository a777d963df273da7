// A flat, open-addressing index from names (ignoring ASCII case) to positions in a list, for
// the first-match lookups of programs and directives. Stores only hashes and positions, eight
// bytes a slot, so lookups touch one contiguous array; large tables take large pages. The
// caller gives the hash (Hash, with a seed to keep several lists in one index) and says
// whether the entry at a position matches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "projectfile/SpiPages.h"

class SpiArena;

class SpiNameIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Small tables come from arena when one is given (an index per program of a model), else
  // from the heap; the arena must outlive the index.
  explicit SpiNameIndex(SpiArena* arena = nullptr) : arena_(arena) {}
  SpiNameIndex(const SpiNameIndex&) = delete;
  SpiNameIndex& operator=(const SpiNameIndex&) = delete;

  static std::uint32_t Hash(std::string_view name, std::uint32_t seed = 0);

  // The position of the first indexed entry with this hash that matches(position).
  template <typename Matches>
  std::size_t Find(std::uint32_t hash, Matches matches) const {
    if (size_ == 0) return kNone;
    for (std::size_t i = Start(hash);; i = After(i)) {
      const Slot& slot = slots_[i];
      if (slot.position == kEmpty) return kNone;
      if (slot.hash == hash && matches(slot.position - 1)) return slot.position - 1;
    }
  }

  // A lookup that can be completed by an insertion at the place it ended, so that a reader
  // probes once per line: FindForInsert, and when nothing was found, Insert after the list
  // grew.
  struct Probe {
    std::size_t position;  // the found position, or kNone
    std::size_t slot;      // where the entry goes when it is inserted
    std::uint32_t hash;
  };
  template <typename Matches>
  Probe FindForInsert(std::uint32_t hash, Matches matches) {
    // Room for one more entry first: the probe's slot must stay valid until Insert.
    if ((used_ + 1) * 4 > size_ * 3) Resize(size_ == 0 ? kFirstSize : size_ * 2);
    for (std::size_t i = Start(hash);; i = After(i)) {
      const Slot& slot = slots_[i];
      if (slot.position == kEmpty) return {kNone, i, hash};
      if (slot.hash == hash && matches(slot.position - 1)) return {slot.position - 1, i, hash};
    }
  }
  // Completes a FindForInsert that found nothing; no other change of the index in between.
  void Insert(const Probe& probe, std::size_t position) {
    slots_[probe.slot] = {probe.hash, static_cast<std::uint32_t>(position + 1)};
    ++used_;
  }
  // Indexes position unless a matching entry is indexed already (first match wins).
  template <typename Matches>
  void Add(std::uint32_t hash, std::size_t position, Matches matches) {
    if (const Probe probe = FindForInsert(hash, matches); probe.position == kNone)
      Insert(probe, position);
  }

  // Asks the processor to fetch the slot where a lookup of hash starts, ahead of the lookup:
  // in a table larger than the caches each lookup would otherwise wait for memory.
  void Prefetch(std::uint32_t hash) const {
    if (size_ != 0) __builtin_prefetch(&slots_[Start(hash)]);
  }
  // Whether the table has outgrown the processor's nearer caches (where Prefetch pays).
  bool Large() const { return size_ >= kLargeSlots; }

  // Room for count entries without growing on the way (a reader that can tell from its file
  // how many are coming).
  void Reserve(std::size_t count);
  void Clear();
  std::size_t BytesHeld() const { return size_ * sizeof(Slot); }
  // Of those, the bytes of a table that is not in the arena.
  std::size_t LargeBytesHeld() const { return arena_ && !large_.data() ? 0 : BytesHeld(); }

 private:
  // Positions are stored plus one, so that zeroed memory is an empty table. Lists never come
  // near 2^32 entries.
  static constexpr std::uint32_t kEmpty = 0;
  // The first table holds the usual section (some dozens of names) without growing.
  static constexpr std::size_t kFirstSize = 64;
  static constexpr std::size_t kLargeSlots = std::size_t{16} << 10;
  struct Slot {
    std::uint32_t hash;
    std::uint32_t position;
  };

  void Resize(std::size_t slots);
  // Where a lookup of hash starts: the hash scaled to the table, so that a table can have any
  // size (one sized from a file's count is not rounded up to a power of two, which would cost
  // up to twice the memory) for one multiplication.
  std::size_t Start(std::uint32_t hash) const {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(hash) * size_) >> 32);
  }
  std::size_t After(std::size_t slot) const { return slot + 1 == size_ ? 0 : slot + 1; }

  Slot* slots_ = nullptr;
  std::size_t size_ = 0;  // slots, at most three quarters used
  std::size_t used_ = 0;
  SpiArena* arena_;
  std::vector<Slot> small_;  // the table while it is small, without an arena
  SpiPages large_;           // the table once it is large
};
