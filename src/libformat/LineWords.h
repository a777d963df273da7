// Splits one line of a list file or view into words: blanks and tabs separate, double quotes
// group (the quotes are dropped), an unquoted word starting with '#' ends the line.
#pragma once

#include <string>
#include <vector>

struct LineWords {
  std::vector<std::string> words;
  std::vector<bool> quoted;        // per word: it was written in double quotes
  bool unterminatedQuote = false;  // a quote was opened and not closed before the line end
};

LineWords SplitLineWords(const std::string& line);

// The text of line after its first word, trimmed (for values that may contain blanks).
std::string RestAfterFirstWords(const std::string& line, int wordsToSkip);

// Parses a whole decimal integer or number; false when text is not one.
bool ParseInt(const std::string& text, int& value);
bool ParseNumber(const std::string& text, double& value);
