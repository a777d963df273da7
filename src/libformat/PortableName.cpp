#include "libformat/PortableName.h"

#include <algorithm>

bool IsPortableName(const std::string& name) {
  return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
  });
}
