// Folder and last component of a path as the flows name them: forward slashes, backslashes
// and drive colons all count as separators. Shared by the simulation and packaging flows.
// Standard C++ only; any thread.
#pragma once

#include <string>

// The text before the last "/"; else before the last backslash; else up to and including the
// first ":"; else "./".
std::string ParentPath(const std::string& path);

// The text after the last "/", ":" or backslash (the whole path when it has none).
std::string LastPathComponent(const std::string& path);

// A path named on a command line, made absolute from the current directory and lexically
// normalised ("" stays "").
std::string AbsolutePath(const std::string& path);

// The project file named on a command line, made absolute from the current directory and
// lexically normalised; "" with problem set to "no project file GIVEN" when it is not a
// regular file.
std::string ExistingProjectFile(const std::string& given, std::string& problem);
