// A pin of a physical part: its name (and the name it had in the source), its type, its
// properties and usage flags.
#pragma once

#include <map>
#include <string>

#include "model/CObject.h"
#include "model/Cursor.h"

class EPin : public CObject {
 public:
  enum PinType { Unknown, Input, Output, Bidirectional, Tristate, OpenCollector, Power, Passive };
  using PropertyMap = std::map<std::string, std::string>;

  explicit EPin(std::string name = {}, PinType type = Unknown);

  PinType getPinType() const { return pinType_; }
  void setPinType(PinType type) { pinType_ = type; }
  // The pin type's word in our part format ("input", "power", ...; "unknown").
  std::string getPinTypeStr() const;
  static std::string pinTypeText(PinType type);
  // The type for a word of our part format; Unknown for any other word.
  static PinType pinTypeFromText(const std::string& text);

  const char* getName() const { return name_.c_str(); }
  std::string& getNameStr() { return name_; }
  const std::string& getNameStr() const { return name_; }
  std::string& getOriginalName() { return originalName_; }
  const std::string& getOriginalName() const { return originalName_; }
  PropertyMap& getPropList() { return propList_; }
  const PropertyMap& getPropList() const { return propList_; }
  void setProperty(const std::string& name, const std::string& value) { propList_[name] = value; }

  bool isPowerPin() const { return isPowerPin_; }
  bool isNCPin() const { return isNCPin_; }
  bool hasUnspecifiedUsage() const { return unspecifiedUsage_; }
  bool isVectored() const { return isVectored_; }
  void setPowerPin(bool on) { isPowerPin_ = on; }
  void setNCPin(bool on) { isNCPin_ = on; }
  void setUnspecifiedUsage(bool on) { unspecifiedUsage_ = on; }
  void setVectored(bool on) { isVectored_ = on; }
  // A plain pin holds no other pins.
  virtual bool hasPin(const std::string& name) const;

  // The property walk: initPropList tells whether there is a property to deliver;
  // getNextProp delivers the next one and tells whether another follows.
  bool initPropList();
  bool getNextProp(std::string& name, std::string& value);

 private:
  std::string originalName_;
  std::string name_;
  PinType pinType_;
  std::string text1_, text2_, text3_, text4_;  // kept for the suite's readers
  PropertyMap propList_;
  bool isVectored_ = false;
  bool isPowerPin_ = false;
  bool isNCPin_ = false;
  bool unspecifiedUsage_ = false;
  Cursor<PropertyMap> propCursor_;
};
