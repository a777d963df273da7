// One footprint file found on the footprint search path.
#pragma once

#include <string>

class CFootprintItem {
 public:
  std::string name;                     // the file name without its extension, as on disk
  std::string fileName;                 // as on disk
  const std::string* folder = nullptr;  // the folder of the path, kept by the owning list
};
