// Brel's wrapped string with a tokeniser: the text is split at any of the delimiter
// characters, runs of delimiters counting as one. Standard C++; value type; any thread.
#pragma once

#include <string>
#include <vector>

class WCString {
 public:
  WCString() = default;
  WCString(std::string text, std::string delimiters);
  virtual ~WCString() = default;
  WCString(const WCString&) = default;
  WCString& operator=(const WCString&) = default;
  // Replaces the text; the delimiters stay.
  WCString& operator=(const char* text);

  // The token at position n (0 is the first); empty beyond the last token. The caller
  // owns the result.
  std::string getToken(int n) const;
  int tokenCount() const { return static_cast<int>(tokens_.size()); }
  const std::string& text() const { return text_; }

 private:
  void Tokenise();

  std::string text_;
  std::string delimiters_ = " ";
  std::vector<std::string> tokens_;
};
