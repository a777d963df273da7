#include "suite/launcher/ArgumentSplitter.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  const std::size_t n = text.size();
  for (;;) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i >= n) break;
    std::string word;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(text[i]))) {
      const char c = text[i];
      if (c == '\\') {
        std::size_t count = 0;
        while (i < n && text[i] == '\\') {
          ++count;
          ++i;
        }
        if (i < n && text[i] == '"') {
          word.append(count / 2, '\\');
          if (count % 2 == 1) {
            word += '"';
            ++i;
          }
        } else {
          word.append(count, '\\');
        }
      } else if (c == '"') {
        if (quoted && i + 1 < n && text[i + 1] == '"') {
          word += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        word += c;
        ++i;
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}
