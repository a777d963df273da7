#include "model/EChipsData.h"

ELogPart* EChipsData::add(std::unique_ptr<ELogPart> part) {
  if (!part) return nullptr;
  ELogPart* stored = part.release();
  logPartList_.add(stored);
  return stored;
}
