// The number parsers of LineWords.h, apart from the word splitting: a program that reads
// list files but no numbers (the host, for the rules checker) then links no floating-point
// parsing, and with it no libm to load at every start.
#include <charconv>

#include "libformat/LineWords.h"

namespace {

// The whole text as one number, an optional leading '+' allowed.
template <typename Number>
bool ParseWhole(const std::string& text, Number& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last && first != last;
}

}  // namespace

bool ParseInt(const std::string& text, int& value) { return ParseWhole(text, value); }

bool ParseNumber(const std::string& text, double& value) { return ParseWhole(text, value); }
