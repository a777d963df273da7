// The footprint list as the footprint dialog and `kestra footprints` show it. UI thread.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class CFootprint;
class CFilter;

struct FootprintRow {
  std::string name;      // as found, not upper-cased
  std::string location;  // its folder
};

// Empties the list and builds it again from the project's ".psm", then ".dra" files.
void BuildFootprintList(CFootprint& footprints, const std::string& project);

// The rows of the list whose upper-cased name the filter, given pattern, accepts; in list order.
std::vector<FootprintRow> MatchingFootprints(CFootprint& footprints, CFilter& filter,
                                             const std::string& pattern);

// The folders the list was built from, when they are the install's defaults, and the folders
// that were skipped: each once, on err.
void TellAboutFootprintPath(const CFootprint& footprints, std::ostream& err);
