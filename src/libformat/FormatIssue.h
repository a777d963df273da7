// One problem found while reading a list file or a view: where it is and what is wrong.
#pragma once

#include <string>
#include <vector>

struct FormatIssue {
  std::string file;  // the file (or directory) concerned
  int line = 0;      // 1-based line number; 0 when no line applies
  std::string message;

  // "file:line: message", or "file: message" when line is 0.
  std::string ToString() const;
};

using FormatIssues = std::vector<FormatIssue>;
