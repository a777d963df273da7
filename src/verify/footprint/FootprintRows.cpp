#include "verify/footprint/FootprintRows.h"

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
