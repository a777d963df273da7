// Fuzzes what the template engine reads beside a template: a part's package and symbol views
// as the part model (TemplatePart), the template extracted from it, and the part checked
// against that template. The input is the package view, then a line "---", then the symbol
// view (the whole input is both when there is no such line). Any bytes must read or be refused
// with a BException, never crash (the sanitizers watch the pin grid's arithmetic).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzScratch.h"
#include "model/BException.h"
#include "suite/template/TemplateEngine.h"

namespace {

void WriteView(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find("\n---\n");
  const std::string package = cut == std::string::npos ? input : input.substr(0, cut + 1);
  const std::string symbol = cut == std::string::npos ? input : input.substr(cut + 5);
  const std::filesystem::path cell = std::filesystem::path(FuzzScratchFolder()) / "lib" / "cell";
  WriteView(cell / "package" / "package.pkg", package);
  WriteView(cell / "sym_1" / "symbol.sym", symbol);
  try {
    BMesgList notes;
    const TemplatePart part("lib", cell.string(), &notes);
    const RTemplateFile extracted = ExtractTemplate(part, &notes);
    BMesgList differences;
    CheckPartAgainstTemplate(part, extracted,
                             kAspectPropertyValues | kAspectPinLoads | kAspectSymbolInformation,
                             differences);
  } catch (const BException&) {
  }
  return 0;
}
