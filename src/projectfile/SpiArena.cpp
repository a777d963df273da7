#include "projectfile/SpiArena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The first block holds the model of a four-level hierarchy of usual files, so that releasing
// it is one return of memory to the system (each return flushes the address translations of
// every processor: far dearer than the pages themselves). Pages not touched cost no memory, so
// a small model still costs only what it uses; later blocks grow with the arena.
constexpr std::size_t kFirstBlock = std::size_t{1} << 20;
constexpr std::size_t kLargestStep = std::size_t{256} << 20;

}  // namespace

void* SpiArena::Allocate(std::size_t size, std::size_t align) {
  auto at = reinterpret_cast<std::uintptr_t>(next_);
  at = (at + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1);
  if (!next_ || at + size > reinterpret_cast<std::uintptr_t>(end_)) {
    NewBlock(size + align);
    at = reinterpret_cast<std::uintptr_t>(next_);
    at = (at + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1);
  }
  next_ = reinterpret_cast<char*>(at + size);
  return reinterpret_cast<void*>(at);
}

std::string_view SpiArena::Copy(std::string_view text) {
  if (text.empty()) return {};
  char* copy = static_cast<char*>(Allocate(text.size(), 1));
  std::memcpy(copy, text.data(), text.size());
  return {copy, text.size()};
}

void SpiArena::Reserve(std::size_t bytes) {
  if (next_ && static_cast<std::size_t>(end_ - next_) >= bytes) return;
  NewBlock(bytes);
}

void SpiArena::Prefault(std::size_t bytes) {
  if (next_) SpiPrefault(next_, std::min(bytes, static_cast<std::size_t>(end_ - next_)));
}

void SpiArena::NewBlock(std::size_t atLeast) {
  // Each block at least as large as all before it (up to a step), so that the number of
  // blocks stays logarithmic; pages not touched cost no memory.
  const std::size_t held = BytesHeld();
  const std::size_t size = std::max({atLeast, kFirstBlock, std::min(held, kLargestStep)});
  blocks_.emplace_back(size);
  next_ = blocks_.back().data();
  end_ = next_ + blocks_.back().size();
}

void SpiArena::Release() {
  blocks_.clear();
  next_ = end_ = nullptr;
}

std::size_t SpiArena::BytesHeld() const {
  std::size_t held = 0;
  for (const SpiPages& block : blocks_) held += block.size();
  return held;
}
