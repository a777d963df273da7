// Puts the suite's Java runtime directory in front of the process search path (PATH).
// UI thread (it changes the process environment).
#pragma once

#include <string>

enum class SearchPathResult { kPrefixed, kUnreadable, kUnsettable };

// PATH := <install root>/tools/jre/bin ":" <old PATH>. PATH is read whole, whatever its
// length. Nothing is appended after the old value: a trailing ":" would put the current
// directory on the search path.
SearchPathResult PrefixJavaRuntime(const std::string& installRoot);
