// Fuzzes the part-template reader: any bytes must read or be refused with a BException,
// never crash; a template that reads must write out as text that reads back to the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/BException.h"
#include "model/RTemplateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RTemplateFile read;
  try {
    read.fromString(std::string(reinterpret_cast<const char*>(data), size), "fuzz.tpl");
  } catch (const BException&) {
    return 0;
  }
  const std::string written = read.toString();
  RTemplateFile again;
  again.fromString(written, "written.tpl");  // throws (and fails the run) if it cannot
  if (again.toString() != written) std::abort();
  return 0;
}
