#include "base/WCString.h"

WCString::WCString(std::string text, std::string delimiters)
    : text_(std::move(text)), delimiters_(std::move(delimiters)) {
  Tokenise();
}

WCString& WCString::operator=(const char* text) {
  text_ = text ? text : "";
  Tokenise();
  return *this;
}

std::string WCString::getToken(int n) const {
  if (n < 0 || n >= tokenCount()) return {};
  return tokens_[static_cast<std::size_t>(n)];
}

void WCString::Tokenise() {
  tokens_.clear();
  std::size_t start = text_.find_first_not_of(delimiters_);
  while (start != std::string::npos) {
    const std::size_t end = text_.find_first_of(delimiters_, start);
    tokens_.push_back(text_.substr(start, end == std::string::npos ? end : end - start));
    start = end == std::string::npos ? end : text_.find_first_not_of(delimiters_, end);
  }
}
