// A list of objects. With autoDelete the list owns its elements: removing them all and
// destroying the list destroy them (each once, even if it was added twice). Without it the
// list only refers to them. Not copyable. One thread at a time.
#pragma once

#include <list>

#include "model/CObject.h"
#include "model/Cursor.h"

class WCObList : public CObject {
 public:
  using Items = std::list<CObject*>;

  explicit WCObList(int blockSize = 10, bool autoDelete = false);
  ~WCObList() override;

  int GetCount() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  bool isAutoDelete() const { return autoDelete_; }
  int getBlockSize() const { return blockSize_; }
  void AddTail(CObject* element);
  void AddHead(CObject* element);
  CObject* GetHead() const { return items_.empty() ? nullptr : items_.front(); }
  CObject* GetTail() const { return items_.empty() ? nullptr : items_.back(); }
  const Items& items() const { return items_; }

  // The list's own walk: initPos places it before the head and tells whether there is an
  // element; getNext delivers the next element, nullptr once the walk has ended.
  virtual bool initPos();
  virtual CObject* getNext();
  // Empties the list, destroying the elements when it owns them.
  virtual void RemoveAll();

 protected:
  // Inserts before the element at position (at the tail for end()).
  void insertBefore(Items::const_iterator position, CObject* element);
  Items& mutableItems() { return items_; }

 private:
  Items items_;
  Cursor<Items> cursor_;
  int blockSize_;
  bool autoDelete_;
};
