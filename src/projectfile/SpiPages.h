// A block of anonymous memory pages of the process, released with the object. Blocks of 2 MB
// and more are advised to the kernel for large pages: a model of many megabytes then costs a
// few hundred page faults instead of one per 4 KB. Fresh pages read as zero.
#pragma once

#include <cstddef>

class SpiPages {
 public:
  SpiPages() = default;
  // At least bytes of memory; throws std::bad_alloc when the system has none.
  explicit SpiPages(std::size_t bytes);
  ~SpiPages();
  SpiPages(SpiPages&& other) noexcept;
  SpiPages& operator=(SpiPages&& other) noexcept;
  SpiPages(const SpiPages&) = delete;
  SpiPages& operator=(const SpiPages&) = delete;

  char* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  void Release();

  char* data_ = nullptr;
  std::size_t size_ = 0;
};

// Maps the pages of [at, at + bytes) in one call where the system can (they are then not
// faulted in one by one as they are first written); contents are unchanged. Only advice.
void SpiPrefault(void* at, std::size_t bytes);
