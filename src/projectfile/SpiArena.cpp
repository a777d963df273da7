#include "projectfile/SpiArena.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "projectfile/SpiNeverDestroyed.h"

namespace {

// The first block holds the model of a four-level hierarchy of usual files, so that releasing
// it is one return of memory to the system (each return flushes the address translations of
// every processor: far dearer than the pages themselves). Pages not touched cost no memory, so
// a small model still costs only what it uses; later blocks grow with the arena.
constexpr std::size_t kFirstBlock = std::size_t{1} << 20;
constexpr std::size_t kLargestStep = std::size_t{256} << 20;
// A released arena's first block is kept for the next arena of the process (SpareFirstBlocks)
// instead of being returned: a process that opens projects one after another (a rules checker
// run opens three) maps the block and faults in its pages once and returns it once, at its
// end. Allocations are not zeroed, so the old bytes do no harm.
std::mutex spareMutex;

// The process's spare first blocks, two: an Open nested in another (a save reads the
// inherited levels again) holds a second arena. Empty ones have no data.
std::array<SpiPages, 2>& SpareFirstBlocks() {
  static SpiNeverDestroyed<std::array<SpiPages, 2>> spares;
  return spares.get();
}

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
  SpiPages block;
  if (blocks_.empty() && size == kFirstBlock) {
    const std::lock_guard<std::mutex> lock(spareMutex);
    for (SpiPages& spare : SpareFirstBlocks())
      if (!block.data()) block = std::move(spare);
  }
  if (!block.data()) block = SpiPages(size);
  blocks_.push_back(std::move(block));
  next_ = blocks_.back().data();
  end_ = next_ + blocks_.back().size();
}

void SpiArena::Release() {
  if (!blocks_.empty() && blocks_.front().size() == kFirstBlock) {
    const std::lock_guard<std::mutex> lock(spareMutex);
    for (SpiPages& spare : SpareFirstBlocks())
      if (!spare.data() && blocks_.front().data()) spare = std::move(blocks_.front());
  }
  blocks_.clear();
  next_ = end_ = nullptr;
}

std::size_t SpiArena::BytesHeld() const {
  std::size_t held = 0;
  for (const SpiPages& block : blocks_) held += block.size();
  return held;
}
