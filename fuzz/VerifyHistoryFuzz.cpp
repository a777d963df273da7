// Fuzzes the reader of the `kestra verify all` history: any bytes must load (a damaged
// history loads empty with a warning), never crash or throw; a history that loads must save
// and load again to as many entries.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzScratch.h"
#include "verify/all/history/RunHistory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path =
      WriteFuzzScratch("history.json", std::string(reinterpret_cast<const char*>(data), size));
  std::string warning;
  const RunHistory history = RunHistory::Load(path, warning);
  if (history.Empty()) return 0;
  const std::string saved = FuzzScratchFolder() + "/saved.json";
  std::string error;
  if (!history.Save(saved, error)) std::abort();
  const RunHistory again = RunHistory::Load(saved, warning);
  if (again.Size() != history.Size() || !warning.empty()) std::abort();
  return 0;
}
