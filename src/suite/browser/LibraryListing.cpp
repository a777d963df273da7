#include "LibraryListing.h"

#include <ostream>

int ListProjectLibraries(const std::string& projectFile, std::ostream&, std::ostream& err) {
  err << "library listing is not available yet for " << projectFile << "\n";
  return 1;
}
