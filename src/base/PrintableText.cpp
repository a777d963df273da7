#include "base/PrintableText.h"

#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0 when it is not one.
std::size_t Utf8Length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned min = 0;
  unsigned code = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, min = 0x80, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, min = 0x800, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::string HexEscape(unsigned char c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
  return buffer;
}

}  // namespace

std::string PrintableText(const std::string& text, bool keepLines) {
  std::string clean;
  clean.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8Length(text, i);
    if (length == 0) {
      clean += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(text[i]);
    if (length == 1 && (c < 0x20 || c == 0x7F) && !(keepLines && (c == '\n' || c == '\t'))) {
      clean += HexEscape(c);
    } else {
      clean.append(text, i, length);
    }
    i += length;
  }
  return clean;
}

std::string MarkupText(const std::string& text, bool keepLineBreaks) {
  const std::string clean = PrintableText(text, keepLineBreaks);
  std::string markup;
  markup.reserve(clean.size());
  for (char c : clean) {
    switch (c) {
      case '&':
        markup += "&amp;";
        break;
      case '<':
        markup += "&lt;";
        break;
      case '>':
        markup += "&gt;";
        break;
      case '"':
        markup += "&quot;";
        break;
      case '\'':
        markup += "&#39;";
        break;
      default:
        markup += c;
    }
  }
  return markup;
}
