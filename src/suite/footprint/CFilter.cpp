#include "outside/CFootprint.h"
#include "projectfile/SpiText.h"
#include "suite/footprint/WildcardMatch.h"

CFilter::CFilter(std::string pattern, int option)
    : pattern_(spi::ToUpper(pattern)), option_(option) {}

void CFilter::UpdatePattern(std::string pattern) { pattern_ = spi::ToUpper(pattern); }

int CFilter::IsMatch(std::string name) {
  if (pattern_.empty()) return 1;
  return WildcardMatch(pattern_, name) ? 1 : 0;
}
