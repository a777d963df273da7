// KestraCore's footprint list and wildcard filter (used by the footprint view and its
// verification). Declarations only until that flow needs the bodies. UI thread.
#pragma once

#include <string>
#include <vector>

class CToolLauncher;

// One footprint found on the footprint search path; owned by the CFootprint that found it.
class CFootprintItem;

class CFootprint {
 public:
  CFootprint();
  ~CFootprint();
  // Adds the footprints of the project's search path that have the extension (".psm",
  // ".dra") or the file name; selector picks the property, option 1 searches for a name.
  int CreateFootprintList(std::string project, std::string extensionOrName, int selector,
                          int option);
  void GetFootprintList(std::vector<CFootprintItem*>& items);
  void DeleteFootprintList();
  std::string GetPropValue(CFootprintItem* item);
  std::string GetPropPath(CFootprintItem* item);
  // Opens a footprint in the layout viewer through the launcher.
  int LaunchViewer(std::string product, std::string project, CToolLauncher* launcher,
                   std::string location, std::string verifyFile);
};

// A wildcard pattern ("*", "?") matched against names.
class CFilter {
 public:
  CFilter(std::string pattern, int option);
  void UpdatePattern(std::string pattern);
  // Non-zero on a match.
  int IsMatch(std::string name);

 private:
  std::string pattern_;
  int option_;
};
