// Quoting of one value for an argument text that the tool launcher splits into words by the
// Windows command-line rules (blanks separate words, double quotes group, backslashes before
// a quote escape it), so that the tool receives the value as one word, unchanged. Standard
// C++ only; any thread.
#pragma once

#include <string>

// A value in double quotes: an embedded quote and the backslashes before a quote (or before
// the closing quote) are escaped. Ordinary paths come out as "value".
std::string QuoteArgument(const std::string& value);

// The value as it is when it splits into exactly itself (not empty, no blank, tab, line
// break or quote), else QuoteArgument(value): library, cell and view names go to the tools
// bare, as the tools expect; only a name that would otherwise be split or altered is quoted.
std::string QuoteIfNeeded(const std::string& value);
