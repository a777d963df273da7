// Directives asked for by program and directive name (both ignoring ASCII case), for a read
// that keeps only those of a large file. Nearly every line of such a file names another
// directive, so a test of the name's hash against a small bit set comes first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SpiWantedDirectives {
 public:
  void Add(std::string_view program, std::string_view directive);
  // hash is SpiNameIndex::Hash(directive).
  bool Contains(std::string_view program, std::string_view directive, std::uint32_t hash) const;
  // Whether a directive of that program is wanted.
  bool ContainsProgram(std::string_view program) const;

 private:
  struct Name {
    std::uint32_t hash;
    std::string program;
    std::string directive;
  };
  // A bit per hash value modulo its size: clear means no name of that hash is wanted.
  class HashBits {
   public:
    void Set(std::uint32_t hash) { bits_[hash % kBits / 64] |= std::uint64_t{1} << (hash % 64); }
    bool Test(std::uint32_t hash) const { return bits_[hash % kBits / 64] >> (hash % 64) & 1; }

   private:
    static constexpr std::size_t kBits = 1024;
    std::array<std::uint64_t, kBits / 64> bits_{};
  };
  HashBits directives_;
  HashBits programs_;
  std::vector<Name> names_;
};
