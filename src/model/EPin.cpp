#include "model/EPin.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<const char*, 8> kPinTypeWords = {
    "unknown", "input", "output", "bidir", "tristate", "opencollector", "power", "passive"};

}  // namespace

EPin::EPin(std::string name, PinType type)
    : originalName_(name), name_(std::move(name)), pinType_(type) {}

std::string EPin::pinTypeText(PinType type) {
  auto index = static_cast<std::size_t>(type);
  return index < kPinTypeWords.size() ? kPinTypeWords[index] : kPinTypeWords[0];
}

EPin::PinType EPin::pinTypeFromText(const std::string& text) {
  for (std::size_t i = 1; i < kPinTypeWords.size(); ++i)
    if (text == kPinTypeWords[i]) return static_cast<PinType>(i);
  return Unknown;
}

std::string EPin::getPinTypeStr() const { return pinTypeText(pinType_); }

bool EPin::hasPin(const std::string&) const { return false; }

bool EPin::initPropList() { return propCursor_.start(propList_); }

bool EPin::getNextProp(std::string& name, std::string& value) {
  if (const auto* entry = propCursor_.next()) {
    name = entry->first;
    value = entry->second;
  }
  return propCursor_.more();
}
