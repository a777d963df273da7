#include "verify/all/history/ContentHash.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

void ContentHash::Add(std::string_view bytes) {
  for (unsigned char c : bytes) {
    value_ ^= c;
    value_ *= 1099511628211ull;
  }
}

void ContentHash::AddText(std::string_view text) {
  Add(text);
  Add(std::string_view("\0", 1));
}

void ContentHash::AddPath(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::is_regular_file(status)) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      AddText("<unreadable>");
      return;
    }
    // Only the bytes read are hashed: the buffer is not cleared first (clearing 64 KiB for
    // each small file of a part cost more than hashing the file).
    std::array<char, 65536> buffer;
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0)
      Add(std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount())));
    AddText("<end>");
    return;
  }
  if (!fs::is_directory(status)) {
    AddText("<missing>");
    return;
  }
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(path, error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  AddText("<folder>");
  for (const std::string& name : names) {
    AddText(name);
    AddPath(path + "/" + name);
  }
  AddText("<end>");
}

std::string ContentHash::Hex() const {
  static const char digits[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (int i = 0; i < 16; ++i) hex[15 - i] = digits[(value_ >> (4 * i)) & 0xf];
  return hex;
}

std::string HexHashOf(std::string_view text) {
  ContentHash hash;
  hash.Add(text);
  return hash.Hex();
}
