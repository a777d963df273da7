#include "verify/footprint/FootprintRows.h"

#include <ostream>

#include "outside/CFootprint.h"
#include "projectfile/SpiText.h"

void BuildFootprintList(CFootprint& footprints, const std::string& project) {
  footprints.DeleteFootprintList();
  footprints.CreateFootprintList(project, ".psm", 0, 0);
  footprints.CreateFootprintList(project, ".dra", 0, 0);
}

std::vector<FootprintRow> MatchingFootprints(CFootprint& footprints, CFilter& filter,
                                             const std::string& pattern) {
  std::vector<CFootprintItem*> items;
  footprints.GetFootprintList(items);
  filter.UpdatePattern(pattern);
  std::vector<FootprintRow> rows;
  rows.reserve(items.size());
  for (CFootprintItem* item : items) {
    std::string name = footprints.GetPropValue(item);
    if (!filter.IsMatch(spi::ToUpper(name))) continue;
    rows.push_back({std::move(name), footprints.GetPropPath(item)});
  }
  return rows;
}

void TellAboutFootprintPath(const CFootprint& footprints, std::ostream& err) {
  if (footprints.SearchPathIsDefault()) {
    err << "footprints: the project sets no PSMPATH (program PAVREL); using";
    for (const std::string& folder : footprints.SearchPath()) err << " " << folder;
    err << "\n";
  }
  for (const std::string& problem : footprints.Problems())
    err << "footprints: skipped " << problem << "\n";
}
