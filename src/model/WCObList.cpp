#include "model/WCObList.h"

#include <unordered_set>

WCObList::WCObList(int blockSize, bool autoDelete)
    : blockSize_(blockSize), autoDelete_(autoDelete) {}

WCObList::~WCObList() { WCObList::RemoveAll(); }

void WCObList::AddTail(CObject* element) { items_.push_back(element); }

void WCObList::AddHead(CObject* element) { items_.push_front(element); }

void WCObList::insertBefore(Items::const_iterator position, CObject* element) {
  items_.insert(position, element);
}

bool WCObList::initPos() { return cursor_.start(items_); }

CObject* WCObList::getNext() {
  CObject* const* element = cursor_.next();
  return element ? *element : nullptr;
}

void WCObList::RemoveAll() {
  cursor_.reset();
  Items removed;
  removed.swap(items_);
  if (!autoDelete_) return;
  // An element added twice is still destroyed once.
  std::unordered_set<CObject*> destroyed;
  for (CObject* element : removed)
    if (element && destroyed.insert(element).second) delete element;
}
