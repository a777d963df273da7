#include "libformat/LineWords.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

LineWords SplitLineWords(const std::string& line) {
  LineWords result;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size() || line[i] == '#') break;
    std::string word;
    const bool quoted = line[i] == '"';
    if (quoted) {
      const size_t close = line.find('"', i + 1);
      if (close == std::string::npos) {
        result.unterminatedQuote = true;
        word = line.substr(i + 1);
        while (!word.empty() && IsBlank(word.back())) word.pop_back();
        i = line.size();
      } else {
        word = line.substr(i + 1, close - i - 1);
        i = close + 1;
      }
    } else {
      const size_t start = i;
      while (i < line.size() && !IsBlank(line[i])) ++i;
      word = line.substr(start, i - start);
    }
    result.words.push_back(std::move(word));
    result.quoted.push_back(quoted);
  }
  return result;
}

std::string RestAfterFirstWords(const std::string& line, int wordsToSkip) {
  size_t i = 0;
  for (int w = 0; w < wordsToSkip; ++w) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
  }
  while (i < line.size() && IsBlank(line[i])) ++i;
  std::string rest = line.substr(i);
  // A trailing comment is not part of the value unless the value is quoted.
  if (!rest.empty() && rest.front() == '"') {
    const size_t close = rest.find('"', 1);
    return close == std::string::npos ? rest.substr(1) : rest.substr(1, close - 1);
  }
  const size_t comment = rest.find(" #");
  if (comment != std::string::npos) rest.erase(comment);
  while (!rest.empty() && IsBlank(rest.back())) rest.pop_back();
  return rest;
}
