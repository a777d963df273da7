#include "model/OLRegExp.h"

#include <utility>

#include "model/BException.h"

namespace {

std::regex compile(const std::string& pattern, bool ignoreCase) {
  auto flags = std::regex::ECMAScript;
  if (ignoreCase) flags |= std::regex::icase;
  try {
    return std::regex(pattern, flags);
  } catch (const std::regex_error& error) {
    throw BException("\"" + pattern + "\" is not a valid regular expression: " + error.what(),
                     "OLRegExp");
  }
}

}  // namespace

OLRegExp::OLRegExp(std::string pattern, bool ignoreCase)
    : pattern_(std::move(pattern)),
      ignoreCase_(ignoreCase),
      expression_(compile(pattern_, ignoreCase)) {}

bool OLRegExp::matches(const std::string& text) const {
  return std::regex_match(text, expression_);
}

bool OLRegExp::search(const std::string& text) const {
  return std::regex_search(text, expression_);
}
