// What a project file was when it was read: its identity (device, inode, size, modification
// time) and a hash of its bytes. A save compares the file it is about to replace with the
// fingerprint taken when the model was read, so that a change saved by another program in
// between is refused instead of silently overwritten.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

struct stat;

// A 64-bit hash of a byte stream, the same whatever pieces the stream is given in. Not a
// cryptographic hash: it tells an accidental change from none.
class SpiContentHash {
 public:
  void Add(const char* data, std::size_t size);
  void Add(std::string_view text) { Add(text.data(), text.size()); }
  std::uint64_t Digest() const;

 private:
  void Mix(std::uint64_t word);

  std::uint64_t state_ = 0x9e3779b97f4a7c15ULL;
  std::uint64_t pending_ = 0;  // bytes of an incomplete eight-byte word
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
};

struct SpiFileFingerprint {
  bool known = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long modifiedSeconds = 0;
  long modifiedNanoseconds = 0;
  std::uint64_t contentHash = 0;
  // The bytes read, not hashed yet: a read that is never saved never pays the hash. They
  // must stay unchanged until HashContent (a model's arena keeps them for its lifetime).
  std::string_view unhashed;

  // Takes contentHash from the bytes read (once); a save calls it before it compares.
  void HashContent();

  // The identity part, from a status; the hash is left as it is.
  void SetIdentity(const struct stat& status);
  // Same device, inode, size and modification time (the hash is not compared).
  bool SameIdentity(const SpiFileFingerprint& other) const;
};

// Hashes the whole content of the open file fd (read from its start, the position is not
// used). 0, or an errno.
int SpiHashFileContent(int fd, std::uint64_t& hash);
