// Library and cell names that can be chosen and handed to the tools.
#pragma once

#include <string>

// True when name is not empty and holds no control character. Blanks, quotes and non-ASCII
// characters are fine: the flows pass names in double quotes or through the launcher's
// argument splitting, which keeps them intact.
bool IsPortableName(const std::string& name);
