// The footprint files of one folder of the search path. Standard C++ only.
#pragma once

#include <string>
#include <vector>

struct FootprintFile {
  std::string name;      // the file name without the extension
  std::string fileName;  // as on disk
};

struct FootprintFolderScan {
  std::vector<FootprintFile> files;  // by name
  std::string problem;               // why the folder could not be read ("" when it could)
};

// Every regular file of folder whose name ends in extension (".dra"; compared ignoring ASCII
// case) with something before it, sorted by name.
FootprintFolderScan ScanFootprintFolder(const std::string& folder, const std::string& extension);
// The file called fileName in folder (compared ignoring ASCII case when no file has exactly
// that name); at most one.
FootprintFolderScan FindFootprintFile(const std::string& folder, const std::string& fileName);
