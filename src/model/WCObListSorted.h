// A list kept in the order of a key that a member function of the element gives (a name,
// a sequence number). add() walks from the head and inserts the new element before the
// first one whose key is greater, so elements with equal keys keep the order they were
// added in. Ownership as WCObList.
#pragma once

#include <type_traits>

#include "model/WCObList.h"

template <class Element, class Key>
class WCObListSorted : public WCObList {
 public:
  // The member that returns an element's key, e.g. &EPhysPart::getNameStr.
  using CompareFunction = Key (Element::*)() const;

  explicit WCObListSorted(CompareFunction key, int blockSize = 10, bool autoDelete = false)
      : WCObList(blockSize, autoDelete), key_(key) {}

  void setCompareFunction(CompareFunction key) { key_ = key; }

  void add(Element* element) {
    const auto& key = (element->*key_)();
    auto position = mutableItems().cbegin();
    while (position != mutableItems().cend() &&
           !(key < (static_cast<const Element*>(*position)->*key_)()))
      ++position;
    insertBefore(position, element);
  }

  Element* GetHead() const { return static_cast<Element*>(WCObList::GetHead()); }
  Element* GetTail() const { return static_cast<Element*>(WCObList::GetTail()); }
  Element* getNext() override { return static_cast<Element*>(WCObList::getNext()); }

 private:
  CompareFunction key_;
};
