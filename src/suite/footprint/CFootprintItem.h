// One footprint file found on the footprint search path.
#pragma once

#include <string>

class CFootprintItem {
 public:
  std::string name;      // the file name without its extension, as on disk
  std::string folder;    // the folder of the search path it was found in
  std::string fileName;  // as on disk
  std::string file;      // folder + "/" + fileName
};
