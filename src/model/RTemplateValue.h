// A property entry of a template: the value a property must have. The value may hold the
// wildcards "*" (any run of characters) and "?" (one character). Held in a template's
// property map.
#pragma once

#include <string>
#include <utility>

#include "model/CObject.h"

class RTemplateValue : public CObject {
 public:
  explicit RTemplateValue(std::string value = {}) : value_(std::move(value)) {}

  const std::string& getValue() const { return value_; }
  void setValue(std::string value) { value_ = std::move(value); }

 private:
  std::string value_;
};
