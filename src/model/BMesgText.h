// One message of a BMesgList: its text and whether it reports an error.
#pragma once

#include <string>

class BMesgText {
 public:
  explicit BMesgText(std::string text = {}, bool isError = false);
  BMesgText(const BMesgText&) = default;
  // Copies the text and the error mark (a message list stays whole when messages move).
  BMesgText& operator=(const BMesgText&) = default;

  const std::string& getText() const { return text_; }
  bool isError() const { return isError_; }

 private:
  std::string text_;
  bool isError_;
};
