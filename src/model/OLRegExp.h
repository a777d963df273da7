// A regular expression of the suite's name filters (ECMAScript syntax), kept with the text
// it was built from. A value: copying copies the pattern, its options and the compiled form.
#pragma once

#include <regex>
#include <string>

class OLRegExp {
 public:
  // Throws BException when the pattern is not a valid expression.
  explicit OLRegExp(std::string pattern = {}, bool ignoreCase = false);
  OLRegExp(const OLRegExp&) = default;
  OLRegExp& operator=(const OLRegExp&) = default;

  const std::string& getPattern() const { return pattern_; }
  bool ignoresCase() const { return ignoreCase_; }
  // True when the whole text matches.
  bool matches(const std::string& text) const;
  // True when some part of the text matches.
  bool search(const std::string& text) const;

 private:
  std::string pattern_;
  bool ignoreCase_;
  std::regex expression_;
};
