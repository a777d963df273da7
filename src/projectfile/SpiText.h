// Small text helpers of the project-file library (ASCII case rules, white-space trimming).
#pragma once

#include <string>
#include <string_view>

namespace spi {

inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
inline char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
inline char ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string_view Trim(std::string_view text);
std::string_view TrimRight(std::string_view text);
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// printf-style formatting into a std::string of any length.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace spi
