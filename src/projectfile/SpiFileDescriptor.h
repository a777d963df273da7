// An owned POSIX file descriptor and a complete write, shared by the log and the saver.
#pragma once

#include <string>

class SpiFileDescriptor {
 public:
  explicit SpiFileDescriptor(int fd = -1) : fd_(fd) {}
  ~SpiFileDescriptor() { Reset(); }
  SpiFileDescriptor(const SpiFileDescriptor&) = delete;
  SpiFileDescriptor& operator=(const SpiFileDescriptor&) = delete;

  int get() const { return fd_; }
  // Closes the descriptor held (if any) and takes fd.
  void Reset(int fd = -1);
  // Gives the descriptor up without closing it.
  int Release();

 private:
  int fd_;
};

// Writes all of text, retrying partial writes. 0, or -1 with errno set (ENOSPC when the
// device takes nothing more). beforeEachWrite, when given, may fail a write (for tests).
int SpiWriteAll(int fd, const std::string& text, bool (*beforeEachWrite)() = nullptr);
