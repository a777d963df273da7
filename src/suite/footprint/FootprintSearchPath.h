// The footprint search path of a project: the values of directive "PSMPATH" of program
// "PAVREL" in its layered project files, each a folder (relative ones are taken from the
// project directory), or the install's default folder when no level gives a value.
// Standard C++ and the project-file library only.
#pragma once

#include <string>
#include <vector>

struct FootprintSearchPath {
  bool read = false;  // the project file could be read
  std::vector<std::string> folders;
  bool isDefault = false;  // the project sets no path: the install's default folders
  std::string problem;     // why the project could not be read
};

FootprintSearchPath ReadFootprintSearchPath(const std::string& projectFile);
// <install root>/share/pavrel/symbols
std::vector<std::string> DefaultFootprintFolders();
