#include "suite/launcher/ProgressPieces.h"

#include <algorithm>

std::vector<std::string> TakeProgressPieces(std::string& buffer, bool flushAll, std::size_t limit) {
  std::vector<std::string> pieces;
  if (limit == 0) return pieces;
  std::size_t start = 0;
  while (start < buffer.size()) {
    const std::size_t left = buffer.size() - start;
    const std::size_t window = std::min(limit, left);
    const std::size_t lineEnd = buffer.rfind('\n', start + window - 1);
    std::size_t length = 0;
    if (lineEnd != std::string::npos && lineEnd >= start) {
      length = lineEnd + 1 - start;
    } else if (left >= limit) {
      length = limit;
    } else if (flushAll) {
      length = left;
    } else {
      break;
    }
    pieces.push_back(buffer.substr(start, length));
    start += length;
  }
  buffer.erase(0, start);
  return pieces;
}
