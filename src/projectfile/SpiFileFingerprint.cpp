#include "projectfile/SpiFileFingerprint.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint64_t kMultiplier = 0xff51afd7ed558ccdULL;

std::uint64_t Finish(std::uint64_t x) {
  x ^= x >> 33;
  x *= kMultiplier;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  x ^= x >> 33;
  return x;
}

}  // namespace

void SpiContentHash::Mix(std::uint64_t word) {
  state_ ^= Finish(word);
  state_ = (state_ << 27 | state_ >> 37) * kMultiplier + 0x52dce729ULL;
}

void SpiContentHash::Add(const char* data, std::size_t size) {
  total_ += size;
  // Complete a pending word first, so that the pieces a stream comes in do not matter.
  while (size > 0 && pendingSize_ > 0) {
    pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(*data)) << (8 * pendingSize_);
    ++data;
    --size;
    if (++pendingSize_ == 8) {
      Mix(pending_);
      pending_ = 0;
      pendingSize_ = 0;
    }
  }
  while (size >= 8) {
    std::uint64_t word;
    std::memcpy(&word, data, 8);
    Mix(word);
    data += 8;
    size -= 8;
  }
  for (std::size_t i = 0; i < size; ++i)
    pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  pendingSize_ = size;
}

std::uint64_t SpiContentHash::Digest() const {
  return Finish(state_ ^ Finish(pending_ + pendingSize_) ^ (total_ * kMultiplier));
}

void SpiFileFingerprint::HashContent() {
  if (!known || !unhashed.data()) return;
  SpiContentHash hash;
  hash.Add(unhashed);
  contentHash = hash.Digest();
  unhashed = {};
}

void SpiFileFingerprint::SetIdentity(const struct stat& status) {
  known = true;
  device = status.st_dev;
  inode = status.st_ino;
  size = status.st_size;
  modifiedSeconds = status.st_mtim.tv_sec;
  modifiedNanoseconds = status.st_mtim.tv_nsec;
}

bool SpiFileFingerprint::SameIdentity(const SpiFileFingerprint& other) const {
  return known && other.known && device == other.device && inode == other.inode &&
         size == other.size && modifiedSeconds == other.modifiedSeconds &&
         modifiedNanoseconds == other.modifiedNanoseconds;
}

int SpiHashFileContent(int fd, std::uint64_t& hash) {
  SpiContentHash content;
  std::vector<char> buffer(1 << 16);
  off_t offset = 0;
  while (true) {
    const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) break;
    content.Add(buffer.data(), static_cast<std::size_t>(got));
    offset += got;
  }
  hash = content.Digest();
  return 0;
}
