// The words that ask a command for its help, the same for every verb, tool and option
// parser: -help, --help and -h. Pure function; any thread.
#pragma once

#include <string_view>

bool IsHelpWord(std::string_view word);
