// The word of a list nearest to a mistyped one, for "did you mean" hints. Pure function; any
// thread.
#pragma once

#include <string>
#include <vector>

// The candidate with the fewest single-letter edits (insert, delete, replace) from word,
// letters compared without regard to case; the first of equals. "" when there are no
// candidates or the nearest needs more edits than half the word's length plus two.
std::string NearestWord(const std::string& word, const std::vector<std::string>& candidates);
