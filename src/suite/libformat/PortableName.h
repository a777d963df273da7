// Names that tool command lines can carry unquoted: library and cell names.
#pragma once

#include <string>

// True when name is not empty and every character is printable ASCII other than a blank.
bool IsPortableName(const std::string& name);
