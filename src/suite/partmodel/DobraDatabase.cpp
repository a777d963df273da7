#include "suite/partmodel/DobraDatabase.h"

#include <utility>

#include "model/RChipsView.h"

namespace {
enum DobraKind { kLogPart, kPhysPart, kPin, kProperty };
}  // namespace

struct DobraObject {
  int kind;
  const DobraObject* owner;  // the logical part of a physical part, the physical part of a pin
  std::string name;
  std::string value;  // a property's value
};

std::string dobraLogPartName(const DobraObject* part) {
  return part && part->kind == kLogPart ? part->name : std::string();
}
std::string dobraPhysPartName(const DobraObject* part) {
  return part && part->kind == kPhysPart ? part->name : std::string();
}
std::string dobraPinName(const DobraObject* pin) {
  return pin && pin->kind == kPin ? pin->name : std::string();
}
std::string dobraPropName(const DobraObject* property) {
  return property && property->kind == kProperty ? property->name : std::string();
}
std::string dobraPropValue(const DobraObject* property) {
  return property && property->kind == kProperty ? property->value : std::string();
}

DobraDatabase::DobraDatabase(const EChipsData& chips) {
  RChipsView::setNameFunctions(
      {dobraLogPartName, dobraPhysPartName, dobraPinName, dobraPropName, dobraPropValue});
  for (const CObject* element : chips.getLogPartList().items()) {
    const auto* logical = static_cast<const ELogPart*>(element);
    const DobraObject* logObject = add(kLogPart, nullptr, logical->getNameStr());
    for (const CObject* inner : logical->getPhysPartList().items()) {
      const auto* physical = static_cast<const EPhysPart*>(inner);
      const DobraObject* physObject = add(kPhysPart, logObject, physical->getNameStr());
      for (const auto& [name, value] : physical->getPropList())
        add(kProperty, physObject, name, value);
      for (const auto& item : physical->getPinList().items()) add(kPin, physObject, item.first);
    }
  }
}

DobraDatabase::~DobraDatabase() = default;

const DobraObject* DobraDatabase::add(int kind, const DobraObject* owner, std::string name,
                                      std::string value) {
  objects_.push_back(
      std::make_unique<DobraObject>(DobraObject{kind, owner, std::move(name), std::move(value)}));
  return objects_.back().get();
}

const DobraObject* DobraDatabase::find(int kind, const DobraObject* owner,
                                       const std::string& name) const {
  for (const auto& object : objects_)
    if (object->kind == kind && object->name == name && (!owner || object->owner == owner))
      return object.get();
  return nullptr;
}

bool DobraDatabase::select(RChipsView& view, const std::string& physPart, const std::string& pin,
                           const std::string& property) const {
  const DobraObject* physical = find(kPhysPart, nullptr, physPart);
  if (!physical) return false;
  const DobraObject* pinObject = pin.empty() ? nullptr : find(kPin, physical, pin);
  const DobraObject* propObject = property.empty() ? nullptr : find(kProperty, physical, property);
  if ((!pin.empty() && !pinObject) || (!property.empty() && !propObject)) return false;
  view.setCurrentLogPart(physical->owner);
  view.setCurrentPhysPart(physical);
  view.setCurrentPin(pinObject);
  view.setCurrentProperty(propObject);
  return true;
}
