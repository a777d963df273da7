// Wildcard matching of names: "*" matches any run of characters (also none), "?" exactly one
// character, where a character is a whole UTF-8 sequence; everything else matches itself,
// byte for byte. Standard C++ only.
#pragma once

#include <string_view>

#include "outside/SuiteExport.h"

KESTRA_SUITE_API bool WildcardMatch(std::string_view pattern, std::string_view name);
