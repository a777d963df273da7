// Quoting of one value for an argument text that the tool launcher splits into words by the
// Windows command-line rules. Standard C++ only.
#pragma once

#include <string>

// A value in double quotes for the launcher's command-line splitting: an embedded quote and
// the backslashes before a quote (or before the closing quote) are escaped, so that names
// with quotes reach the tool intact. Ordinary paths come out as "value".
std::string QuoteArgument(const std::string& value);
