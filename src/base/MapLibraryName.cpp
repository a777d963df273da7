#include "base/MapLibraryName.h"

#include <algorithm>
#include <cctype>

#include "base/nimra.h"

std::optional<std::string> MapLibraryName(const std::string& name) {
  std::string buffer;
  std::string* mapped = nimraMapper(nimraTesselToIdent, nimraIdentToLibraryUnix, name, 0, buffer);
  if (!mapped) return std::nullopt;
  std::transform(mapped->begin(), mapped->end(), mapped->begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return *mapped;
}
