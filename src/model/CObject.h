// The base of every element the model's containers hold: an object with a virtual
// destructor, so that a container that owns its elements can destroy them through the base.
#pragma once

class CObject {
 public:
  CObject() = default;
  virtual ~CObject();
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};
