#include "model/EPhysPart.h"

#include <utility>

namespace {

// text with every ")(" replaced by separator.
std::string joinGroups(std::string text, const std::string& separator) {
  for (std::size_t at = text.find(")("); at != std::string::npos;
       at = text.find(")(", at + separator.size()))
    text.replace(at, 2, separator);
  return text;
}

}  // namespace

EPhysPart::EPhysPart(std::string name) : name_(std::move(name)) {}

void EPhysPart::add(const std::string& name, const std::string& value) {
  auto found = propList_.find(name);
  if (found == propList_.end()) {
    propList_.emplace(name, value);
    return;
  }
  std::string& old = found->second;
  if (name == "POWER_PINS" || name == "GROUND_PINS")
    old = joinGroups(old + value, ";");
  else if (name == "NC_PINS")
    old = joinGroups(old + value, ",");
  else if (name == "GROUND_NETS")
    old += "," + value;
  else
    old = value;
}

EPin* EPhysPart::add(std::unique_ptr<EPin> pin) {
  if (!pin) return nullptr;
  EPin* stored = pin.get();
  pinList_.SetAt(stored->getNameStr(), pin.release());
  return stored;
}

EPin* EPhysPart::getPin(const std::string& name) const {
  return static_cast<EPin*>(pinList_.Lookup(name));
}

bool EPhysPart::initPropList() { return propCursor_.start(propList_); }

bool EPhysPart::getNextProp(std::string& name, std::string& value) {
  if (const auto* entry = propCursor_.next()) {
    name = entry->first;
    value = entry->second;
  }
  return propCursor_.more();
}

bool EPhysPart::initAliasList() { return aliasCursor_.start(aliasList_); }

bool EPhysPart::getNextAlias(std::string& alias) {
  const auto* entry = aliasCursor_.next();
  if (!entry) return false;
  alias = entry->first;
  return true;
}
