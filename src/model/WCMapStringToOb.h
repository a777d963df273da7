// A map from text to object, walked in key order. With autoDelete the map owns its
// elements: replacing, removing or emptying destroys them (each once). getCurrentKey gives
// the key of the element getNext delivered last. Not copyable. One thread at a time.
#pragma once

#include <map>
#include <string>

#include "model/CObject.h"
#include "model/Cursor.h"

class WCMapStringToOb : public CObject {
 public:
  using Items = std::map<std::string, CObject*>;

  explicit WCMapStringToOb(int blockSize = 10, bool autoDelete = false);
  ~WCMapStringToOb() override;

  int GetCount() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  bool isAutoDelete() const { return autoDelete_; }
  int getBlockSize() const { return blockSize_; }
  // The element under key, nullptr when there is none.
  CObject* Lookup(const std::string& key) const;
  // Stores element under key; an owned element it replaces is destroyed.
  void SetAt(const std::string& key, CObject* element);
  const Items& items() const { return items_; }

  virtual void RemoveAll();
  // Removes the element under key (destroying it when owned); false when there was none.
  virtual bool RemoveKey(const std::string& key);
  // The walk in key order: initPos places it before the first element and tells whether
  // there is one; getNext delivers the next element (nullptr once the walk has ended).
  virtual bool initPos();
  virtual CObject* getNext();
  virtual const std::string& getCurrentKey() const { return currentKey_; }

 private:
  void destroy(CObject* element) const;

  Items items_;
  Cursor<Items> cursor_;
  std::string currentKey_;
  int blockSize_;
  bool autoDelete_;
};
