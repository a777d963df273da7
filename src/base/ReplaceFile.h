// Writing a generated file in a folder others may share: the content goes to a new file of
// our own beside the target, which then replaces the target by rename. A link planted where
// the target should be is replaced, never followed, and a reader never sees half a file.
// Standard C++ and POSIX; any thread.
#pragma once

#include <string>
#include <string_view>

// True when path holds content afterwards; on failure path is as it was and no temporary
// file is left behind.
bool ReplaceFileContent(const std::string& path, std::string_view content);

// The content of a regular file (through links), or false.
bool ReadRegularFile(const std::string& path, std::string& content);
