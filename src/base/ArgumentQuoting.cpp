#include "base/ArgumentQuoting.h"

std::string QuoteArgument(const std::string& value) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : value) {
    if (c == '\\') {
      ++backslashes;
    } else {
      // Backslashes before a quote are doubled and the quote escaped; others stay as they are.
      if (c == '"') quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    quoted += c;
  }
  quoted.append(backslashes, '\\');
  return quoted + "\"";
}

std::string QuoteArgumentIfNeeded(const std::string& value) {
  if (!value.empty() && value.find_first_of(" \t\"") == std::string::npos) return value;
  return QuoteArgument(value);
}
