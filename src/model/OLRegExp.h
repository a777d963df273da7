// A regular expression of the suite's name filters, as its pattern text and options. A value:
// copying copies every member unchanged. Compiling and matching are the filters' own work.
#pragma once

#include <string>

class OLRegExp {
 public:
  explicit OLRegExp(std::string pattern = {}, bool ignoreCase = false, bool wholeText = true);
  OLRegExp(const OLRegExp&) = default;
  OLRegExp& operator=(const OLRegExp&);

  const std::string& getPattern() const { return pattern_; }
  bool ignoresCase() const { return ignoreCase_; }
  // True when the pattern must match the whole text, false when a part of it will do.
  bool matchesWholeText() const { return wholeText_; }

 private:
  std::string pattern_;
  bool ignoreCase_;
  bool wholeText_;
};
