// A part's chips data: its logical parts, sorted by name and owned, and the physical part a
// reader is filling.
#pragma once

#include <memory>
#include <string>

#include "model/CObject.h"
#include "model/ELogPart.h"
#include "model/WCObListSorted.h"

using ELogPartList = WCObListSorted<ELogPart, const std::string&>;

class EChipsData : public CObject {
 public:
  EChipsData() = default;

  // Empties the data: destroys every logical part.
  void initialize() {
    logPartList_.RemoveAll();
    currentPhysPart_ = nullptr;
  }
  ELogPart* add(std::unique_ptr<ELogPart> part);

  ELogPartList& getLogPartList() { return logPartList_; }
  const ELogPartList& getLogPartList() const { return logPartList_; }
  // The physical part being filled (owned by its logical part), nullptr when none.
  EPhysPart*& getCurrentPhysPart() { return currentPhysPart_; }
  EPhysPart* getCurrentPhysPart() const { return currentPhysPart_; }

 private:
  ELogPartList logPartList_{&ELogPart::getNameStr, 10, true};
  EPhysPart* currentPhysPart_ = nullptr;
};
