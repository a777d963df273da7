// Quoting values for argument texts, so that the launcher's command-line splitting (the
// Windows rules: blanks separate words, double quotes group, backslashes escape a quote)
// hands the tool the value as one word, unchanged. Pure functions; any thread.
#pragma once

#include <string>

// The value in double quotes: an embedded quote and the backslashes before a quote (or
// before the closing quote) are escaped. Ordinary paths come out as "value".
std::string QuoteArgument(const std::string& value);

// The value as it is when it splits as one word unchanged (not empty, no blank, tab or
// double quote), else QuoteArgument(value). Library, cell and view names go to the tools
// bare, as the tools expect; only a name that would otherwise be split or altered is quoted.
std::string QuoteArgumentIfNeeded(const std::string& value);
