// One `kestra verify all` at a time on a project: an exclusive advisory lock (flock) on a
// file in the project's temp folder, taken without waiting and let go when the holder ends,
// also when it dies. POSIX; the lock belongs to this process.
#pragma once

#include <optional>
#include <string>

class RunLock {
 public:
  // The lock, or nullopt with the reason in error: "another kestra verify all is running on
  // this project" when somebody holds it.
  static std::optional<RunLock> Take(const std::string& file, std::string& error);

  RunLock(RunLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  RunLock& operator=(RunLock&&) = delete;
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;
  ~RunLock();

 private:
  explicit RunLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};
