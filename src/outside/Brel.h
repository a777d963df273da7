// Brel, the data-model framework: the base services the template library and the exported
// part model report through. Declarations only: no flow of this module needs their bodies
// yet (WCString, which the rules-checker log parser uses, is in WCString.h and built into
// qvdcommon).
#pragma once

#include <string>

// A failure of the template library; callers show getExceptionInfo and go on.
class BException {
 public:
  virtual ~BException();
  std::string getExceptionInfo() const;
};

// A list of messages (differences, errors) that a check fills.
class BMesgList {
 public:
  virtual ~BMesgList();
  int getErrorCount() const;
};
