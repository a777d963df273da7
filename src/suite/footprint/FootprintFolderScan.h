// The footprint files of one folder of the search path. Standard C++ only.
#pragma once

#include <string>
#include <vector>

struct FootprintFile {
  std::string name;      // the file name without the extension
  std::string fileName;  // as on disk
};

// The regular files of a folder (links to files count), by name.
struct FolderListing {
  std::vector<std::string> fileNames;
  std::string problem;  // why the folder could not be read ("" when it could)
};

FolderListing ListFolder(const std::string& folder);

// The files of a listing whose name ends in extension (".dra"; compared ignoring ASCII case)
// with something before it, in the listing's order.
std::vector<FootprintFile> FilesWithExtension(const FolderListing& listing,
                                              const std::string& extension);

// The file called fileName in folder (compared ignoring ASCII case when no file has exactly
// that name); at most one. problem says why the folder could not be read.
std::vector<FootprintFile> FindFootprintFile(const std::string& folder, const std::string& fileName,
                                             std::string& problem);
