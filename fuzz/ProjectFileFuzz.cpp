// Fuzzes the reader and the writer: any bytes read at the project level must not crash, and a
// model that the library's writability check accepts (what a save would write) must survive
// write and read again.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzScratch.h"
#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProgramList.h"
#include "projectfile/SpiReader.h"
#include "projectfile/SpiWritable.h"
#include "projectfile/SpiWriter.h"

namespace {

constexpr int kLevel = 2;

int Read(const std::string& text, CSpiProgramList& programs) {
  CSpiFile file;
  if (file.Open(WriteFuzzScratch("project.tak", text)) != 0) std::abort();
  return SpiReadFile(programs, file, kLevel);
}

bool Written(const CSpiDirective& d) { return d.projectSet || d.ControlPresent(kLevel); }

bool SameWrittenModel(const CSpiProgramList& first, const CSpiProgramList& second) {
  for (const auto& program : first.Programs()) {
    std::size_t written = 0;
    const CSpiProgram* other = second.Find(program->name);
    for (const auto& d : program->Directives()) {
      if (!Written(*d)) continue;
      ++written;
      const CSpiDirective* e = other ? other->FindDirective(d->name) : nullptr;
      if (!e || e->projectSet != d->projectSet ||
          e->ControlPresent(kLevel) != d->ControlPresent(kLevel))
        return false;
      if (d->projectSet && e->Values(kLevel).Values() != d->Values(kLevel).Values()) return false;
      if (d->ControlPresent(kLevel) && e->Controls(kLevel).Values() != d->Controls(kLevel).Values())
        return false;
    }
    if (written > 0 && other->Directives().size() != written) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CSpiProgramList first;
  if (Read(std::string(reinterpret_cast<const char*>(data), size), first) != 0) return 0;
  std::string text = SpiFormatHeader("SPI", "{", "}", std::nullopt);
  SpiFormatLevel(first, kLevel, text);
  CSpiProgramList second;
  const int again = Read(text, second);
  // What the library's check lets a save write must read back the same.
  if (SpiLevelProblem(first, kLevel).empty() && (again != 0 || !SameWrittenModel(first, second)))
    std::abort();
  return 0;
}
