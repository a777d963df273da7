#include "model/EPart.h"

EPart::EPart(EChipsData* chipsData) : chipsData_(chipsData) {}

EPart::~EPart() = default;

ESymbolData* EPart::add(std::unique_ptr<ESymbolData> symbol) {
  if (!symbol) return nullptr;
  ESymbolData* stored = symbol.release();
  symbolDataList_.add(stored);
  return stored;
}
