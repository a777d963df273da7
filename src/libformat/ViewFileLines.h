// The line loop shared by the view readers: opens a view file, splits each line into words,
// skips blank and comment lines and hands the rest to a callback with its line number.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "libformat/FormatIssue.h"

struct ViewLine {
  std::vector<std::string> words;  // never empty
  std::string file;
  int number = 0;
  std::string text;  // the whole line, for values that keep their blanks

  void Report(FormatIssues& issues, const std::string& message) const;
  // Reports and returns false unless the line has exactly count words.
  bool ExpectWords(size_t count, FormatIssues& issues) const;
  // Reports and returns false when a once-only statement was already seen.
  bool FirstTime(bool seen, FormatIssues& issues) const;
};

// False (with an issue) when file cannot be opened or is not a regular file.
bool ForEachViewLine(const std::string& file, FormatIssues& issues,
                     const std::function<void(const ViewLine&)>& handle);

// Parses words[first..first+count) as whole numbers; reports and returns false otherwise.
bool ReadWholeNumbers(const ViewLine& line, size_t first, size_t count, int* values,
                      FormatIssues& issues);
