#include "convert/kicad/ImportName.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, unsigned char c) {
  out.push_back('%');
  out.push_back(kHex[c >> 4]);
  out.push_back(kHex[c & 15]);
}

bool NameNeedsEscape(unsigned char c) {
  return c < 0x21 || c == 0x7f || c == '%' || c == '"' || c == '\'' || c == '#' || c == '/' ||
         c == '\\';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string EncodeImportName(std::string_view name) {
  if (name.empty()) return "%";
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (NameNeedsEscape(c) || (i == 0 && c == '.')) {
      AppendEscaped(out, c);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

std::string DecodeImportName(std::string_view encoded) {
  if (encoded == "%") return {};
  std::string out;
  out.reserve(encoded.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const int high = i + 2 < encoded.size() && encoded[i] == '%' ? HexValue(encoded[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(encoded[i + 2]) : -1;
    if (low >= 0) {
      out.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      out.push_back(encoded[i]);
    }
  }
  return out;
}

std::string QuotedImportValue(std::string_view value) {
  std::string out = "\"";
  for (const char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7f || c == '"' || c == '%') {
      AppendEscaped(out, c);
    } else {
      out.push_back(ch);
    }
  }
  return out + "\"";
}
