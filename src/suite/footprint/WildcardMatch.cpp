#include "suite/footprint/WildcardMatch.h"

namespace {

// The length of the UTF-8 sequence that starts at text[i] (1 for a stray byte).
std::size_t CharacterLength(std::string_view text, std::size_t i) {
  std::size_t n = 1;
  while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  // Greedy with one back-track point: the last "*" seen and where in the name it stood.
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += CharacterLength(name, n);
    } else if (p < pattern.size() && pattern[p] == name[n]) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      starN += CharacterLength(name, starN);
      n = starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
