#include "model/WCMapStringToOb.h"

#include <unordered_set>

WCMapStringToOb::WCMapStringToOb(int blockSize, bool autoDelete)
    : blockSize_(blockSize), autoDelete_(autoDelete) {}

WCMapStringToOb::~WCMapStringToOb() { WCMapStringToOb::RemoveAll(); }

CObject* WCMapStringToOb::Lookup(const std::string& key) const {
  auto found = items_.find(key);
  return found == items_.end() ? nullptr : found->second;
}

void WCMapStringToOb::destroy(CObject* element) const {
  if (!autoDelete_ || !element) return;
  // An element stored under a second key stays until its last key goes.
  for (const auto& [key, other] : items_)
    if (other == element) return;
  delete element;
}

void WCMapStringToOb::SetAt(const std::string& key, CObject* element) {
  auto [position, inserted] = items_.try_emplace(key, element);
  if (inserted || position->second == element) return;
  CObject* old = position->second;
  position->second = element;
  destroy(old);
}

void WCMapStringToOb::RemoveAll() {
  cursor_.reset();
  currentKey_.clear();
  Items removed;
  removed.swap(items_);
  if (!autoDelete_) return;
  std::unordered_set<CObject*> destroyed;
  for (const auto& [key, element] : removed)
    if (element && destroyed.insert(element).second) delete element;
}

bool WCMapStringToOb::RemoveKey(const std::string& key) {
  auto found = items_.find(key);
  if (found == items_.end()) return false;
  CObject* element = found->second;
  cursor_.reset();
  items_.erase(found);
  destroy(element);
  return true;
}

bool WCMapStringToOb::initPos() {
  currentKey_.clear();
  return cursor_.start(items_);
}

CObject* WCMapStringToOb::getNext() {
  const Items::value_type* entry = cursor_.next();
  if (!entry) return nullptr;
  currentKey_ = entry->first;
  return entry->second;
}
