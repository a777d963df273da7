// The on-disk name of a library or cell: the suite's name mapper applied to the name, then
// lower-cased. Standard C++; any thread.
#pragma once

#include <optional>
#include <string>

// None when the mapper cannot map the name (empty, ".", "..", a "/" or a NUL in it, ...);
// callers then keep the name as selected.
std::optional<std::string> MapLibraryName(const std::string& name);
