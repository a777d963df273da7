// The messages a check fills (differences, errors) in the order they came, and the count of
// errors among them.
#pragma once

#include <string>
#include <vector>

#include "model/BMesgText.h"

class BMesgList {
 public:
  BMesgList() = default;
  virtual ~BMesgList();

  // Adds a message; an error also counts one.
  void add(std::string text, bool isError = true);
  const std::vector<BMesgText>& getMessages() const { return messages_; }
  int getErrorCount() const { return errorCount_; }
  void addToErrorCount(int n) { errorCount_ += n; }
  void clear();

 private:
  std::vector<BMesgText> messages_;
  int errorCount_ = 0;
};
