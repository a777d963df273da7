// Content hashes for telling whether a part's files or a run's inputs changed: 64-bit FNV-1a,
// a fast non-cryptographic hash (a change is found with certainty far beyond what a library
// needs; it is no defence against somebody forging a collision). Standard C++ only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class ContentHash {
 public:
  void Add(std::string_view bytes);
  // A text and its end, so that ("ab","c") and ("a","bc") hash apart.
  void AddText(std::string_view text);
  // The file's bytes; a folder's files, each with its path below the folder, in name order
  // (links followed); a missing or unreadable path hashes as its own marker, so that it
  // appearing or going away is a change too.
  void AddPath(const std::string& path);

  std::uint64_t Value() const { return value_; }
  std::string Hex() const;

 private:
  std::uint64_t value_ = 14695981039346656037ull;
};

// The hash of a text as 16 hexadecimal digits: file names for keys that may hold any byte.
std::string HexHashOf(std::string_view text);
