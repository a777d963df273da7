// A physical part (a package variant of a logical part): its pins, keyed by name and owned,
// its properties and its aliases.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "model/CObject.h"
#include "model/Cursor.h"
#include "model/EPin.h"
#include "model/WCMapStringToOb.h"

class EPhysPart : public CObject {
 public:
  using PropertyMap = std::map<std::string, std::string>;

  explicit EPhysPart(std::string name = {});

  // Sets a property. A second value of POWER_PINS, GROUND_PINS, NC_PINS or GROUND_NETS is
  // merged with the first (see docs/part-model.md); any other name is replaced.
  void add(const std::string& name, const std::string& value);
  // Stores the pin under its name, replacing (and destroying) a pin of the same name.
  EPin* add(std::unique_ptr<EPin> pin);
  void addAlias(const std::string& alias) { aliasList_[alias] = alias; }

  const char* getName() const { return name_.c_str(); }
  std::string& getNameStr() { return name_; }
  const std::string& getNameStr() const { return name_; }
  PropertyMap& getPropList() { return propList_; }
  const PropertyMap& getPropList() const { return propList_; }
  PropertyMap& getAliasList() { return aliasList_; }
  const PropertyMap& getAliasList() const { return aliasList_; }
  WCMapStringToOb& getPinList() { return pinList_; }
  const WCMapStringToOb& getPinList() const { return pinList_; }
  EPin* getPin(const std::string& name) const;

  // The property walk: initPropList tells whether there is a property; getNextProp
  // delivers the next one and tells whether another follows.
  bool initPropList();
  bool getNextProp(std::string& name, std::string& value);
  // The alias walk: getNextAlias delivers the next alias and returns true, or returns
  // false (delivering nothing) once the walk has ended.
  bool initAliasList();
  bool getNextAlias(std::string& alias);

 private:
  std::string name_;
  WCMapStringToOb pinList_{10, true};
  PropertyMap propList_;
  PropertyMap aliasList_;
  Cursor<PropertyMap> propCursor_;
  Cursor<PropertyMap> aliasCursor_;
};
