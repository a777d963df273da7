#include "libformat/FormatIssue.h"

std::string FormatIssue::ToString() const {
  std::string text = file;
  if (line > 0) text += ":" + std::to_string(line);
  return text + ": " + message;
}
