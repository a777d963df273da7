// Folders and output files that a run makes for itself in a folder others may share (a
// project's temp folder): whatever was planted in their place (a symbolic link, a FIFO, a
// file) is removed, never followed, and failures name the path with the system's reason
// ("cannot make the folder /p/temp/verify-all: Permission denied"). Standard C++ and POSIX;
// any thread.
#pragma once

#include <string>
#include <vector>

// path as a folder of its own, made with its parents when missing; a link or anything else
// that is not a folder at path is replaced by one. False with error (when given) saying why.
bool MakeOwnFolder(const std::string& path, std::string* error = nullptr);

// path as an empty folder of its own, except for the entries named in keep, which stay as they
// are: the scratch folder of a run, emptied before the run without taking what another
// program keeps there. False with error (when given) when it cannot be made or emptied.
bool RemakeOwnFolder(const std::string& path, const std::vector<std::string>& keep = {},
                     std::string* error = nullptr);

// A new empty file at path for a child process's output, open for writing (close-on-exec):
// whatever is at path (a file, a link, a FIFO) is removed first; a folder there is refused.
// The descriptor, or -1 with error (when given) saying why.
int CreateOutputFile(const std::string& path, std::string* error = nullptr);
