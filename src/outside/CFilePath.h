// KestraCore's path helpers. Standard C++ only; no state.
#pragma once

#include <string>

#include "outside/SuiteExport.h"

class KESTRA_SUITE_API CFilePath {
 public:
  // The directory of a project file, ending in a separator ("" when it has none). 0 on success.
  int GetProjPathFromName(const std::string& project, std::string& directory);
  // The file name of path (its last component); flag 0 drops the extension (the project
  // name "demo" of "demo.tak", so that "_tmp.tak" makes "demo_tmp.tak"), any other flag
  // keeps it. 0 on success.
  int GetFileName(const std::string& path, std::string& name, int flag);
  // Forward slashes, no repeated or trailing separators, "." and ".." resolved lexically.
  void NormalizePath(std::string& path);
  // Removes a directory and everything below it; non-zero on success.
  int RemoveNonEmptyDirectory(const std::string& path);
  // Non-zero when refLibPath (project directory + "refqvd.lib") marks a design project, for
  // which dialogs do not offer the library-type chooser.
  static int IsDesignProject(const std::string& refLibPath);
};
