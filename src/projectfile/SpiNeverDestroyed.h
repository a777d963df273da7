// A process-wide object built on first use and never destroyed: what it holds goes back to
// the system with the process, at no cost. For memory kept for reuse across Opens, so that
// the end of a process does not return it block by block (each return of mapped memory
// flushes the address translations of the processors the process ran on).
#pragma once

#include <utility>

template <typename T>
class SpiNeverDestroyed {
 public:
  template <typename... Args>
  explicit SpiNeverDestroyed(Args&&... args) : value_(std::forward<Args>(args)...) {}
  ~SpiNeverDestroyed() {}
  SpiNeverDestroyed(const SpiNeverDestroyed&) = delete;
  SpiNeverDestroyed& operator=(const SpiNeverDestroyed&) = delete;

  T& get() { return value_; }

 private:
  union {
    T value_;
  };
};
