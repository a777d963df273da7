// A scratch file for fuzz targets whose readers take a path: the bytes are written to a
// private temporary folder, read, and nothing is left behind when the process ends.
#pragma once

#include <string>

// The folder, made once per process (mkdtemp).
const std::string& FuzzScratchFolder();

// Writes data to name inside the folder and returns the file's path.
std::string WriteFuzzScratch(const std::string& name, const std::string& data);
