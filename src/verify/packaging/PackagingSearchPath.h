// The layout search text of a packaging run up to the board: the footprint folders, each as
// " 'folder' ", from directive "PSMPATH" of program "PAVREL" of the project, or else from
// the layout editor's setup library, loaded at run time, whose entry point "PvrlSetup"
// answers "PSMPATH" with a null-ended list of folders. Standard C++ and POSIX only; UI thread.
#pragma once

#include <string>
#include <vector>

// The entry point of the layout setup library: a null-ended list of texts for the key, or
// null. The list stays owned by the library.
extern "C" {
using PvrlSetupFunction = const char* const* (*)(const char* key);
}

// The layout setup library of an installation: ROOT + "/lib/libpvrlsetup.so".
std::string LayoutSetupLibrary(const std::string& installRoot);

// " 'v1'  'v2' " for values v1, v2 ("" for none).
std::string SearchTextOf(const std::vector<std::string>& folders);

// The values of PAVREL's PSMPATH in the project, in order (none when the project file, the
// program or the directive is missing).
std::vector<std::string> ProjectFootprintPath(const std::string& projectFile);

class CSpiProject;

// The same from a project already opened.
std::vector<std::string> ProjectFootprintPath(CSpiProject& project);

struct SetupLibraryPath {
  std::vector<std::string> folders;
  // What went wrong, for the user: "Failed to load library N" (N the error number) when the
  // library cannot be loaded, or a note that it has no entry point "PvrlSetup"; else "".
  std::string problem;
};

// Loads library, asks PvrlSetup("PSMPATH") and unloads it again.
SetupLibraryPath FootprintPathFromSetupLibrary(const std::string& library);

// The layout search text: from the project when it names folders, else from the setup
// library; problem as above.
std::string LayoutSearchText(const std::string& projectFile, const std::string& setupLibrary,
                             std::string& problem);

// The same from the folders the project names (read already).
std::string LayoutSearchText(const std::vector<std::string>& projectFolders,
                             const std::string& setupLibrary, std::string& problem);
