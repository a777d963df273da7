#include "PageData.h"

#include <zlib.h>

#include <sstream>

std::string Unpacked(const std::string& text) {
  static const std::string kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  unsigned value = 0;
  int bits = 0;
  for (const char c : text) {
    if (c == '=') break;
    const std::size_t digit = kDigits.find(c);
    if (digit == std::string::npos) return "";
    value = (value << 6) | static_cast<unsigned>(digit);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>((value >> bits) & 0xff);
    }
  }
  z_stream stream = {};
  if (inflateInit2(&stream, -15) != Z_OK) return "";
  stream.next_in = reinterpret_cast<Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  char chunk[65536];
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk);
    stream.avail_out = sizeof chunk;
    status = inflate(&stream, Z_NO_FLUSH);
    out.append(chunk, sizeof chunk - stream.avail_out);
  }
  inflateEnd(&stream);
  return status == Z_STREAM_END && stream.avail_in == 0 ? out : "";
}

std::string UnpackedPageData(const std::string& page, const std::string& id) {
  const std::size_t element = page.find(" id=\"" + id + "\"");
  const std::size_t start = page.find('>', element);
  const std::size_t end = page.find("</script>", start);
  if (element == std::string::npos || start == std::string::npos || end == std::string::npos)
    return "";
  std::istringstream lines(page.substr(start + 1, end - start - 1));
  std::string text;
  for (std::string line; std::getline(lines, line);)
    text += (text.empty() ? "" : "\n") + Unpacked(line);
  return text;
}
