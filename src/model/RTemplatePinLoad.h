// A pin-load entry of a template: the input and output load every pin of one pin type must
// have, as decimal texts ("0.02"), or "-" for a pin without that load. Held in a template's
// pin-type map.
#pragma once

#include <string>
#include <utility>

#include "model/CObject.h"

class RTemplatePinLoad : public CObject {
 public:
  RTemplatePinLoad(std::string inputLoad = "-", std::string outputLoad = "-")
      : inputLoad_(std::move(inputLoad)), outputLoad_(std::move(outputLoad)) {}

  const std::string& getInputLoad() const { return inputLoad_; }
  const std::string& getOutputLoad() const { return outputLoad_; }
  void setInputLoad(std::string load) { inputLoad_ = std::move(load); }
  void setOutputLoad(std::string load) { outputLoad_ = std::move(load); }

 private:
  std::string inputLoad_;
  std::string outputLoad_;
};
