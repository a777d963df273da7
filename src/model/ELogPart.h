// A logical part: its physical parts, kept sorted by name and owned.
#pragma once

#include <memory>
#include <string>

#include "model/CObject.h"
#include "model/EPhysPart.h"
#include "model/WCObListSorted.h"

using EPhysPartList = WCObListSorted<EPhysPart, const std::string&>;

class ELogPart : public CObject {
 public:
  explicit ELogPart(std::string name = {});

  // Inserts the physical part in name order, after those of the same name.
  EPhysPart* add(std::unique_ptr<EPhysPart> part);

  const char* getName() const { return name_.c_str(); }
  std::string& getNameStr() { return name_; }
  const std::string& getNameStr() const { return name_; }
  EPhysPartList& getPhysPartList() { return physPartList_; }
  const EPhysPartList& getPhysPartList() const { return physPartList_; }

 private:
  std::string name_;
  EPhysPartList physPartList_{&EPhysPart::getNameStr, 10, true};
};
