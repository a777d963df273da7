#include "model/OLRegExp.h"

#include <utility>

OLRegExp::OLRegExp(std::string pattern, bool ignoreCase, bool wholeText)
    : pattern_(std::move(pattern)), ignoreCase_(ignoreCase), wholeText_(wholeText) {}

// Defined here so that the library exports it.
OLRegExp& OLRegExp::operator=(const OLRegExp&) = default;
