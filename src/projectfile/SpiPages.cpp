#include "projectfile/SpiPages.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>
#include <utility>

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

SpiPages::SpiPages(std::size_t bytes) {
  const std::size_t rounded = (bytes + kPage - 1) / kPage * kPage;
  if (rounded == 0) return;
  void* memory =
      ::mmap(nullptr, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  data_ = static_cast<char*>(memory);
  size_ = rounded;
#ifdef MADV_HUGEPAGE
  // Only advice: where large pages are not available the block works as it is.
  if (rounded >= kLargePage) ::madvise(memory, rounded, MADV_HUGEPAGE);
#endif
}

SpiPages::~SpiPages() { Release(); }

SpiPages::SpiPages(SpiPages&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

SpiPages& SpiPages::operator=(SpiPages&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void SpiPages::Release() {
  if (data_) ::munmap(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

void SpiPrefault(void* at, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  const auto begin = reinterpret_cast<std::uintptr_t>(at);
  const std::uintptr_t from = begin & ~(std::uintptr_t{kPage} - 1);
  const std::uintptr_t to = (begin + bytes + kPage - 1) & ~(std::uintptr_t{kPage} - 1);
  if (bytes > 0) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
  (void)at;
  (void)bytes;
#endif
}
