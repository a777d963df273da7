// Values in a tool's argument text, quoted for the launcher's command-line splitting (double
// quotes group, backslashes before a quote escape it), so that paths and names with blanks
// or quotes reach the tool as one word. Standard C++ only; any thread.
#pragma once

#include <string>

// A value in double quotes: an embedded quote and the backslashes before a quote (or before
// the closing quote) are escaped. Ordinary paths come out as "value".
std::string QuoteArgument(const std::string& value);

// The value as it is when it splits into exactly itself (no blank, tab, quote, not empty),
// else QuoteArgument(value): ordinary names and paths stay unquoted.
std::string QuoteIfNeeded(const std::string& value);
