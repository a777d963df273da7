// A flat, open-addressing index from names (ignoring ASCII case) to positions in a list, for
// the first-match lookups of programs and directives. Stores only hashes and positions, so
// lookups touch one contiguous array and growing it allocates once per doubling.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class SpiNameIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // The position of the first indexed name equal to name; nameAt(position) gives the name
  // stored at a position of the list.
  template <typename NameAt>
  std::size_t Find(std::string_view name, NameAt nameAt) const {
    if (slots_.empty()) return kNone;
    const std::uint32_t hash = Hash(name);
    for (std::size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
      const Slot& slot = slots_[i];
      if (slot.position == kEmpty) return kNone;
      if (slot.hash == hash && EqualsIgnoringCase(nameAt(slot.position), name))
        return slot.position;
    }
  }

  // Indexes position under name unless an equal name is indexed already (first match wins).
  template <typename NameAt>
  void Add(std::string_view name, std::size_t position, NameAt nameAt) {
    if (const Probe probe = FindForInsert(name, nameAt); probe.position == kNone)
      Insert(probe, position);
  }

  // A lookup that can be completed by an insertion at the place it ended, so that a reader
  // probes once per line: Probe, and when nothing was found, Insert after the list grew.
  struct Probe {
    std::size_t position;  // the found position, or kNone
    std::size_t slot;      // where the name goes when it is inserted
    std::uint32_t hash;
  };
  template <typename NameAt>
  Probe FindForInsert(std::string_view name, NameAt nameAt) {
    // Room for one more name first: the probe's slot must stay valid until Insert.
    if ((used_ + 1) * 2 > slots_.size()) Grow();
    const std::uint32_t hash = Hash(name);
    for (std::size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
      const Slot& slot = slots_[i];
      if (slot.position == kEmpty) return {kNone, i, hash};
      if (slot.hash == hash && EqualsIgnoringCase(nameAt(slot.position), name))
        return {slot.position, i, hash};
    }
  }
  // Completes a FindForInsert that found nothing; no other change of the index in between.
  void Insert(const Probe& probe, std::size_t position) {
    slots_[probe.slot] = {probe.hash, static_cast<std::uint32_t>(position)};
    ++used_;
  }

  void Clear() {
    slots_.clear();
    used_ = 0;
  }

 private:
  // Eight bytes a slot keep the index of a million names within the caches' reach. Lists
  // never come near 2^32 entries (each entry is a heap object of some hundred bytes).
  static constexpr std::uint32_t kEmpty = 0xffffffffu;
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t position = kEmpty;
  };

  static std::uint32_t Hash(std::string_view name);
  static bool EqualsIgnoringCase(std::string_view a, std::string_view b);
  void Place(const Slot& slot);
  void Grow();

  std::vector<Slot> slots_;  // size is zero or a power of two, at most half used
  std::size_t used_ = 0;
};
