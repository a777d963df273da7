// The memory of one project model: the bytes of the files read into it, the directives and
// their value lists, and every name or value a caller adds later. Allocation only moves a
// pointer forward; nothing is freed before the whole arena is released at once (Release or
// the destructor), so every view into it stays valid for the model's lifetime. Objects
// placed here must be trivially destructible. One thread; arenas of several threads share
// only the spare first block that a released arena leaves for the next one (SpiArena.cpp).
#pragma once

#include <cstddef>
#include <new>
#include <string_view>
#include <type_traits>
#include <vector>

#include "projectfile/SpiPages.h"

class SpiArena {
 public:
  SpiArena() = default;
  ~SpiArena() { Release(); }
  SpiArena(const SpiArena&) = delete;
  SpiArena& operator=(const SpiArena&) = delete;

  // size bytes aligned to align (a power of two), not zeroed; throws std::bad_alloc.
  void* Allocate(std::size_t size, std::size_t align = alignof(std::max_align_t));
  // Room for count objects of T, not constructed.
  template <typename T>
  T* AllocateArray(std::size_t count) {
    static_assert(std::is_trivially_destructible_v<T>, "the arena runs no destructors");
    return static_cast<T*>(Allocate(sizeof(T) * count, alignof(T)));
  }
  // A copy of text kept in the arena.
  std::string_view Copy(std::string_view text);
  // Makes the next blocks large enough for bytes more without a new block per small step
  // (a reader that knows its file's size asks for it once).
  void Reserve(std::size_t bytes);
  // Maps the pages of the next bytes of the current block in one call (where the system can),
  // so that a model about to be built there takes no page fault per page. Never beyond the
  // block; pages already mapped are left as they are.
  void Prefault(std::size_t bytes);

  // Frees everything at once; every view into the arena becomes invalid.
  void Release();
  // Bytes of memory held, for measurements.
  std::size_t BytesHeld() const;

 private:
  void NewBlock(std::size_t atLeast);

  std::vector<SpiPages> blocks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
};
