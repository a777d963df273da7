// What a symbol view reader fills: the symbol's name, the file it came from and its
// sequence number among the part's symbols.
#pragma once

#include <string>
#include <vector>

#include "model/CObject.h"

class RSymbolView : public CObject {
 public:
  RSymbolView() = default;

  const std::string& getSymbolName() const { return symbolName_; }
  void setSymbolName(const std::string& name) { symbolName_ = name; }
  const std::string& getSymbolFileName() const { return symbolFileName_; }
  void setSymbolFileName(const std::string& file) { symbolFileName_ = file; }
  // The symbol's place among its part's symbols (0 for the first).
  int getSymbolSeq() const { return symbolSeq_; }
  void setSymbolSeq(int sequence) { symbolSeq_ = sequence; }

 private:
  std::string symbolName_;
  std::string symbolFileName_;
  std::string text1_, text2_;  // kept for the suite's readers
  std::vector<std::string> lines_;
  int symbolSeq_ = 0;
};
