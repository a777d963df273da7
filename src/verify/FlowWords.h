// The words of a flow's command line ("-proj FILE -lib LIB -ref ..."), parsed once against the
// options the flow knows: options without a value (flags) and options with one (an option
// given twice keeps both values, in order). Every headless runner starts from this, so the
// messages for unknown options, missing values and missing required options read alike.
// Standard C++ only; value type, any thread.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class FlowWords {
 public:
  // The words, or nullopt with the reason in error ("unknown option -x", "-lib needs a value",
  // "stray: unexpected", "-proj and -lib are required").
  static std::optional<FlowWords> Parse(const std::vector<std::string>& words,
                                        std::initializer_list<std::string_view> flags,
                                        std::initializer_list<std::string_view> valued,
                                        std::initializer_list<std::string_view> required,
                                        std::string& error);
  static std::optional<FlowWords> Parse(const std::vector<std::string>& words,
                                        std::initializer_list<std::string_view> flags,
                                        std::span<const std::string_view> valued,
                                        std::initializer_list<std::string_view> required,
                                        std::string& error);

  // Whether -help, --help or -h stands where an option may stand: the word after an option
  // that takes a value is that value (a part may be named --help), never an option.
  static bool HelpAsked(const std::vector<std::string>& words,
                        std::span<const std::string_view> valued);

  bool Has(std::string_view option) const;
  // The last value given for option; "" when it was not given.
  std::string Value(std::string_view option) const;
  // Every value given for option, in order.
  std::vector<std::string> Values(std::string_view option) const;
  // The options in the order given, with their values ("" for a flag).
  const std::vector<std::pair<std::string, std::string>>& Given() const { return given_; }

 private:
  std::vector<std::pair<std::string, std::string>> given_;
};

// A whole number from low to high written as value, or nullopt with the reason in error:
// "<option> needs a number of <what> from <low> to <high>, not \"<value>\"".
std::optional<long> ParseWholeNumber(const std::string& option, const std::string& value, long low,
                                     long high, const std::string& what, std::string& error);
