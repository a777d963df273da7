#include <cstddef>
#include <string>

#include "base/nimra.h"

namespace {

// Longest file name the common Linux file systems accept.
constexpr std::size_t kMaxFileNameBytes = 255;

bool IsOrdinary(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.';
}

}  // namespace

bool nimraTesselToIdent(const std::string& name, std::string& ident) {
  // "." and ".." would name the library folder itself or its parent; "/" would reach into
  // another folder; a NUL would end the name early in every system call.
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos) return false;
  ident = name;
  return true;
}

bool nimraIdentToLibraryUnix(const std::string& ident, std::string& fileName) {
  if (ident.empty()) return false;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(ident.size());
  for (const char ch : ident) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsOrdinary(c)) {
      out += ch;
    } else {
      // Escaping "%" itself keeps the mapping one-to-one; lower-case digits keep it stable
      // under the caller's lower-casing.
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  if (out.size() > kMaxFileNameBytes) return false;
  fileName = std::move(out);
  return true;
}

std::string* nimraMapper(nimraConversion toIdent, nimraConversion toFileName,
                         const std::string& name, int /*flags*/, std::string& out) {
  if (!toIdent || !toFileName) return nullptr;
  std::string ident;
  if (!toIdent(name, ident)) return nullptr;
  std::string mapped;
  if (!toFileName(ident, mapped)) return nullptr;
  out = std::move(mapped);
  return &out;
}
