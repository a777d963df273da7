// The end of an import: the new folder becomes the project's "kicad" folder, the project's
// "qvd.lib" lists its libraries and directive PSMPATH of program PAVREL its footprint folders.
// Lines and folders of an earlier import (those inside "kicad/") are replaced; everything
// else of the project stays. Standard C++ only; the thread that owns the project-file
// library.
#pragma once

#include <string>
#include <utility>
#include <vector>

inline constexpr const char* kImportFolder = "kicad";

struct ImportedLibraries {
  std::vector<std::pair<std::string, std::string>> symbolLibraries;  // name, folder in "kicad/"
  std::vector<std::string> footprintFolders;                         // folders in "kicad/"
};

// True when a line of the list file's text names a folder of an earlier import.
bool IsImportedLine(const std::string& line);

// The library names of qvd.lib (in projectDir) that are not from an earlier import and that
// the import would give again.
std::vector<std::string> ClashingLibraryNames(const std::string& projectDir,
                                              const ImportedLibraries& libraries);

// True when the project file can be read and changed; false with error saying why. Asked
// before the long conversion, so that a project that cannot take the import fails at once.
bool ProjectCanChange(const std::string& projectFile, std::string& error);

// Moves staging to projectDir/kicad (an earlier import out of the way, removed at the end),
// then rewrites qvd.lib and the project file. False with error set; the project's files are
// then as they were. removers: the threads that remove the earlier import at the end.
bool SwitchImport(const std::string& projectDir, const std::string& projectFile,
                  const std::string& staging, const ImportedLibraries& libraries,
                  std::string& error, int removers = 1);
