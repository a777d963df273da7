// Fuzzes the part-view readers: any bytes as a symbol view and as a package view must read
// without a crash (the sanitizers watch for overflow and bad memory use).
#include <cstdint>
#include <string>

#include "FuzzScratch.h"
#include "libformat/PackageView.h"
#include "libformat/SymbolView.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path =
      WriteFuzzScratch("view", std::string(reinterpret_cast<const char*>(data), size));
  const SymbolViewResult symbol = ReadSymbolView(path);
  [[maybe_unused]] const bool centred = symbol.symbol.IsOriginCentred();
  [[maybe_unused]] const PackageViewResult package = ReadPackageView(path);
  return 0;
}
