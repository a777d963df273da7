// A part's chips data: its logical parts, sorted by name and owned, and the physical part a
// reader is filling. A view of the chips database (RChipsView) whose handles a database
// reader may point at its objects.
#pragma once

#include <memory>
#include <string>

#include "model/ELogPart.h"
#include "model/RChipsView.h"
#include "model/WCObListSorted.h"

using ELogPartList = WCObListSorted<ELogPart, const std::string&>;

class EChipsData : public RChipsView {
 public:
  EChipsData() = default;
  EChipsData(const EChipsData&) = delete;
  EChipsData& operator=(const EChipsData&) = delete;

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
