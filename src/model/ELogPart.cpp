#include "model/ELogPart.h"

#include <utility>

ELogPart::ELogPart(std::string name) : name_(std::move(name)) {}

EPhysPart* ELogPart::add(std::unique_ptr<EPhysPart> part) {
  if (!part) return nullptr;
  EPhysPart* stored = part.release();
  physPartList_.add(stored);
  return stored;
}
