// Fuzzes the KiCad readers and converters: any bytes as a symbol library and as a footprint
// must read and convert without a crash (the sanitizers watch for overflow and bad memory use).
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/kicad/KicadFootprint.h"
#include "convert/kicad/KicadPartWriter.h"
#include "convert/kicad/KicadSymbolLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const KicadSymbolLibrary library = ReadKicadSymbolLibrary("fuzz.kicad_sym", text);
  for (const KicadSymbol& symbol : library.symbols)
    [[maybe_unused]] const ConvertedPart part = ConvertKicadSymbol(symbol, "fuzz.kicad_sym");
  const KicadFootprint footprint = ReadKicadFootprint("fuzz.kicad_mod", text);
  if (footprint.read) [[maybe_unused]]
    const std::string converted = FootprintFileText(footprint, "fuzz", "fuzz.kicad_mod");
  return 0;
}
