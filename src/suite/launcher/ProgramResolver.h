// Finds the program a launcher operation starts. Standard C++ and POSIX only; any thread.
//
// Order: the environment variable KESTRA_TOOL_<NAME> (NAME is the operation without
// "launch", upper case) when set and not empty; else the executable the caller gave, with
// ".exe" dropped when no file of that name exists, a bare name being looked up in
// <install root>/tools/bin and then in the directories of PATH; else
// <install root>/tools/bin/<name in lower case>.
#pragma once

#include <string>
#include <string_view>

#include "outside/SuiteExport.h"

// "launchLibvue" -> "KESTRA_TOOL_LIBVUE".
KESTRA_SUITE_API std::string ToolVariableName(std::string_view operation);

// The program for an operation. executable may be empty (the operation names the tool);
// pathList is the value of PATH. When nothing is found the result is the place where the
// program was expected, so that the user can be told which program is missing.
KESTRA_SUITE_API std::string ResolveProgram(std::string_view operation,
                                            const std::string& executable,
                                            const std::string& installRoot,
                                            const std::string& pathList);

// Why path cannot be started ("" when it can): missing, a directory, not executable.
KESTRA_SUITE_API std::string WhyNotRunnable(const std::string& path);
