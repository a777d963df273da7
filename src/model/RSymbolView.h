// What a symbol view reader fills: the symbol's name, the file it came from, two further
// texts (the second holds the symbol's sequence number among its part's symbols), the lines
// read and the file being read. The operations a derived reader may refine are virtual.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "model/CObject.h"

class RSymbolView : public CObject {
 public:
  RSymbolView() = default;

  // Reads the symbol file into the list of lines; false when it cannot be read.
  virtual bool readFile(const std::string& path);
  // Called for every object type a reader meets; the base class does nothing.
  virtual void processObjectType() {}
  virtual const std::string& getSymbolName() const { return symbolName_; }
  virtual void setSymbolName(const std::string& name) { symbolName_ = name; }
  // The symbol's place among its part's symbols (0 for the first, and when none was set).
  virtual int getSymbolSeq() const;
  virtual const std::string& getSymbolFileName() const { return symbolFileName_; }

  void setSymbolFileName(const std::string& file) { symbolFileName_ = file; }
  void setSymbolSeq(int sequence) { sequenceText_ = std::to_string(sequence); }
  const std::vector<std::string>& getLines() const { return lines_; }

 private:
  std::string symbolName_;
  std::string symbolFileName_;
  std::string symbolType_;  // kept for the suite's readers
  std::string sequenceText_;
  std::vector<std::string> lines_;
  std::ifstream file_;
};
