// Splits an argument text into words by the Windows command-line rules, so that texts
// composed for the suite's tools reach them as the same words. No shell is involved.
//
// Rules: blanks and tabs outside double quotes separate words; a double quote starts or
// ends a quoted part (and "" inside a quoted part is one literal quote); 2n backslashes
// before a quote give n backslashes and the quote acts as a quote; 2n+1 backslashes before
// a quote give n backslashes and a literal quote; backslashes elsewhere are literal. An
// empty quoted part ("") is an empty word. Pure function; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "outside/SuiteExport.h"

KESTRA_SUITE_API std::vector<std::string> SplitArguments(std::string_view text);
