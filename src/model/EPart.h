// A schematic part: its name and library, its chips data (not owned: the caller keeps it
// alive as long as the part) and its symbols, sorted by sequence number and owned.
#pragma once

#include <memory>
#include <string>

#include "model/EChipsData.h"
#include "model/ESymbolData.h"
#include "model/WCObListSorted.h"

using ESymbolDataList = WCObListSorted<ESymbolData, int>;

class EPart {
 public:
  explicit EPart(EChipsData* chipsData = nullptr);
  virtual ~EPart();
  EPart(const EPart&) = delete;
  EPart& operator=(const EPart&) = delete;

  EChipsData* getChipsData() const { return chipsData_; }
  std::string& getPartName() { return partName_; }
  const std::string& getPartName() const { return partName_; }
  std::string& getLibName() { return libName_; }
  const std::string& getLibName() const { return libName_; }
  ESymbolDataList& getSymbolDataList() { return symbolDataList_; }
  const ESymbolDataList& getSymbolDataList() const { return symbolDataList_; }
  // Inserts the symbol in sequence order, after those of the same sequence number.
  ESymbolData* add(std::unique_ptr<ESymbolData> symbol);

 private:
  std::string partName_;
  std::string libName_;
  std::string text1_, text2_;  // kept for the suite's readers
  EChipsData* chipsData_;
  ESymbolDataList symbolDataList_{&ESymbolData::getSymbolSeq, 10, true};
  std::string text3_;
};
