#include "projectfile/SpiText.h"

#include <cstdarg>
#include <cstdio>

namespace spi {

std::string_view Trim(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsSpace(text[begin])) ++begin;
  return TrimRight(text.substr(begin));
}

std::string_view TrimRight(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsSpace(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string ToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToUpper(c);
  return out;
}

std::string ToLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToLower(c);
  return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ToLower(a[i]) != ToLower(b[i])) return false;
  return true;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int size = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (size > 0) {
    out.resize(static_cast<std::size_t>(size) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(size));
  }
  va_end(args);
  return out;
}

}  // namespace spi
