#include "projectfile/SpiWantedDirectives.h"

#include "projectfile/SpiNameIndex.h"
#include "projectfile/SpiText.h"

void SpiWantedDirectives::Add(std::string_view program, std::string_view directive) {
  const std::uint32_t hash = SpiNameIndex::Hash(directive);
  directives_.Set(hash);
  programs_.Set(SpiNameIndex::Hash(program));
  names_.push_back({hash, std::string(program), std::string(directive)});
}

bool SpiWantedDirectives::Contains(std::string_view program, std::string_view directive,
                                   std::uint32_t hash) const {
  if (!directives_.Test(hash)) return false;
  for (const Name& name : names_)
    if (name.hash == hash && spi::EqualsIgnoringCase(name.directive, directive) &&
        spi::EqualsIgnoringCase(name.program, program))
      return true;
  return false;
}

bool SpiWantedDirectives::ContainsProgram(std::string_view program) const {
  if (!programs_.Test(SpiNameIndex::Hash(program))) return false;
  for (const Name& name : names_)
    if (spi::EqualsIgnoringCase(name.program, program)) return true;
  return false;
}
