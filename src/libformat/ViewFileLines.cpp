#include "libformat/ViewFileLines.h"

#include <filesystem>
#include <fstream>

#include "libformat/LineWords.h"

void ViewLine::Report(FormatIssues& issues, const std::string& message) const {
  issues.push_back({file, number, message});
}

bool ViewLine::ExpectWords(size_t count, FormatIssues& issues) const {
  if (words.size() == count) return true;
  Report(issues, "\"" + words[0] + "\" needs " + std::to_string(count - 1) + " value(s), found " +
                     std::to_string(words.size() - 1));
  return false;
}

bool ViewLine::FirstTime(bool seen, FormatIssues& issues) const {
  if (!seen) return true;
  Report(issues, "\"" + words[0] + "\" is given more than once; this line is ignored");
  return false;
}

bool ForEachViewLine(const std::string& file, FormatIssues& issues,
                     const std::function<void(const ViewLine&)>& handle) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    issues.push_back(
        {file, 0, std::filesystem::exists(file, ec) ? "not a regular file" : "file not found"});
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    issues.push_back({file, 0, "cannot be read"});
    return false;
  }
  ViewLine line;
  line.file = file;
  while (std::getline(in, line.text)) {
    ++line.number;
    LineWords split = SplitLineWords(line.text);
    if (split.words.empty()) continue;
    if (split.unterminatedQuote) {
      line.Report(issues, "missing closing double quote");
      continue;
    }
    line.words = std::move(split.words);
    handle(line);
  }
  return true;
}

bool ReadWholeNumbers(const ViewLine& line, size_t first, size_t count, int* values,
                      FormatIssues& issues) {
  if (line.words.size() != first + count) {
    line.Report(issues, "\"" + line.words[0] + "\" needs " + std::to_string(count) +
                            " whole numbers" + (first > 1 ? " after its name" : ""));
    return false;
  }
  for (size_t i = 0; i < count; ++i) {
    if (!ParseInt(line.words[first + i], values[i])) {
      line.Report(issues, "\"" + line.words[first + i] + "\" is not a whole number");
      return false;
    }
  }
  return true;
}
