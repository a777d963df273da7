// Fuzzes the reader and the writer: any bytes read at the project level must not crash, and a
// model whose names and values the format can represent must survive write and read again.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProgramList.h"
#include "projectfile/SpiReader.h"
#include "projectfile/SpiText.h"
#include "projectfile/SpiWriter.h"

namespace {

constexpr int kLevel = 2;

const std::string& ScratchPath() {
  static const std::string path = [] {
    char name[] = "/tmp/spi-fuzz-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  return path;
}

int Read(const std::string& text, CSpiProgramList& programs) {
  FILE* out = std::fopen(ScratchPath().c_str(), "wb");
  if (!out) std::abort();
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
  CSpiFile file;
  if (file.Open(ScratchPath()) != 0) std::abort();
  std::remove(ScratchPath().c_str());  // the open file stays readable; nothing is left behind
  return SpiReadFile(programs, file, kLevel);
}

bool HasAny(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

// Texts the format has no way to write: a line end inside, or both quote characters.
bool Unquotable(std::string_view text) {
  return HasAny(text, "\n") || (HasAny(text, "'") && HasAny(text, "\""));
}

bool ListWritable(const CSpiValueList& list) {
  for (const auto& value : list.Values())
    if (Unquotable(value)) return false;
  return true;
}

// Whether the written line of a directive reads back as the same name.
bool NameWritable(const CSpiProgram& program, const CSpiDirective& d, bool withValues) {
  if (Unquotable(d.name) || HasAny(d.name, "\r\v\f")) return false;
  if (withValues) return true;
  // A lone word is upper-cased, cut at "{" and compared with the end lines.
  if (HasAny(d.name, " \t{'\"")) return false;
  return !spi::EqualsIgnoringCase(d.name, "END_" + program.name) &&
         !spi::EqualsIgnoringCase(d.name, "END_" + program.name + "_CONTROL_SETTINGS");
}

bool Written(const CSpiDirective& d) { return d.projectSet || d.controlPresent[kLevel]; }

bool Representable(const CSpiProgramList& programs) {
  for (const auto& program : programs.Programs()) {
    bool any = false;
    for (const auto& d : program->Directives()) any = any || Written(*d);
    if (!any) continue;
    if (HasAny(program->name, " \t\r\n\v\f{") ||
        spi::ToUpper(program->name).find("_CONTROL_SETTINGS") != std::string::npos)
      return false;
    for (const auto& d : program->Directives()) {
      if (d->projectSet && (!ListWritable(d->values[kLevel]) ||
                            !NameWritable(*program, *d, !d->values[kLevel].Empty())))
        return false;
      if (d->controlPresent[kLevel] && (!ListWritable(d->controls[kLevel]) ||
                                        !NameWritable(*program, *d, !d->controls[kLevel].Empty())))
        return false;
    }
  }
  return true;
}

bool SameWrittenModel(const CSpiProgramList& first, const CSpiProgramList& second) {
  for (const auto& program : first.Programs()) {
    std::size_t written = 0;
    const CSpiProgram* other = second.Find(program->name);
    for (const auto& d : program->Directives()) {
      if (!Written(*d)) continue;
      ++written;
      const CSpiDirective* e = other ? other->FindDirective(d->name) : nullptr;
      if (!e || e->projectSet != d->projectSet ||
          e->controlPresent[kLevel] != d->controlPresent[kLevel])
        return false;
      if (d->projectSet && e->values[kLevel].Values() != d->values[kLevel].Values()) return false;
      if (d->controlPresent[kLevel] && e->controls[kLevel].Values() != d->controls[kLevel].Values())
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
  if (Representable(first) && (again != 0 || !SameWrittenModel(first, second))) std::abort();
  return 0;
}
