// The words of `kestra import kicad`, checked: the project, the sources, the library-name
// prefix, the number of workers and what to do with an earlier import. Standard C++ only.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ImportArguments {
  std::string projectFile;
  std::vector<std::string> symbolSources;     // ".kicad_sym" files or folders of them
  std::vector<std::string> footprintSources;  // ".pretty" folders or folders of them
  std::string libraryPrefix;
  int workers = 1;
  bool replace = false;  // replace an earlier import instead of refusing
  bool help = false;
};

inline constexpr const char* kImportUsage =
    "usage: kestra import kicad -proj FILE.tak [-symbols DIR|FILE...] [-footprints DIR...]\n"
    "                           [-lib-prefix P] [-j N] [-replace]\n"
    "Without -symbols and -footprints the Debian packages' folders are read:\n"
    "/usr/share/kicad/symbols and /usr/share/kicad/footprints.\n";

// The arguments, or nullopt with error saying what is wrong.
std::optional<ImportArguments> ParseImportArguments(const std::vector<std::string>& words,
                                                    std::string& error);
