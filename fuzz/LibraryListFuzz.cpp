// Fuzzes the library-list reader: any bytes as qvd.lib (with includes of itself and of other
// scratch files) must load without a crash, a hang or a duplicate library name.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "FuzzScratch.h"
#include "libformat/LibraryList.h"

namespace {

int NoExpansion(const std::string& in, std::string& out, std::string&) {
  out = in;
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // A second list the first can include, so that includes and loops are reached.
  WriteFuzzScratch("more.lib", text.substr(text.size() / 2));
  const LibraryList list = ReadLibraryList(WriteFuzzScratch("qvd.lib", text), NoExpansion);
  std::set<std::string> names;
  for (const LibraryEntry& entry : list.libraries)
    if (!names.insert(entry.name).second) std::abort();
  return 0;
}
