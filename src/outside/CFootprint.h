// KestraCore's footprint list and wildcard filter (used by the footprint view and its
// verification). UI thread.
//
// The list is built from the project's footprint search path: the values of directive
// "PSMPATH" of program "PAVREL" (read through the project's layered files; relative folders
// are taken from the project directory), or the install's default folder when no level sets
// one. Folders that are missing or cannot be read are skipped and named once in Problems().
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "outside/SuiteExport.h"

class CToolLauncher;

// One footprint found on the footprint search path; owned by the CFootprint that found it.
// Any CFootprint answers GetPropValue and GetPropPath for it while its owner lives.
class CFootprintItem;

class KESTRA_SUITE_API CFootprint {
 public:
  CFootprint();
  ~CFootprint();
  CFootprint(const CFootprint&) = delete;
  CFootprint& operator=(const CFootprint&) = delete;

  // Adds the footprints of the project's search path. Option 0: every file with the extension
  // (".psm", ".dra"), each name once (the first folder of the path wins; a name the list
  // already holds is not added again). Option 1: every file named extensionOrName, in every
  // folder of the path, in path order. Selector 0 is the only property selector (the name).
  // Returns the number of items added, or -1 when the project file cannot be read.
  int CreateFootprintList(std::string project, std::string extensionOrName, int selector,
                          int option);
  void GetFootprintList(std::vector<CFootprintItem*>& items);
  void DeleteFootprintList();
  // The footprint's name (the file name without its extension) and its folder.
  std::string GetPropValue(CFootprintItem* item);
  std::string GetPropPath(CFootprintItem* item);
  // Opens the footprint found by the last name search (option 1) in the layout editor's viewer
  // through the launcher: the one in folder `location`, or the first on the path when
  // `location` is empty; a non-empty verifyFile asks the viewer to check it. 0 started, -1
  // when there is nothing to open (no name search found the file in that folder).
  int LaunchViewer(std::string product, std::string project, CToolLauncher* launcher,
                   std::string location, std::string verifyFile);

  // The search path of the last CreateFootprintList, in order.
  const std::vector<std::string>& SearchPath() const { return searchPath_; }
  // True when the project sets no path and the install's default folders were searched.
  bool SearchPathIsDefault() const { return searchPathIsDefault_; }
  // Why folders were skipped or the project could not be read, each folder once.
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  struct Store;  // the items, their folders and the folder listings of this list
  std::unique_ptr<Store> store_;
  std::vector<std::string> searchPath_;
  std::vector<std::string> problems_;
  bool searchPathIsDefault_ = false;
  std::string searchedFile_;  // the file name of the last option-1 search
};

// A wildcard pattern matched against names: "*" any run of characters (also none), "?" one
// character (a whole UTF-8 sequence); other characters stand for themselves. The pattern is
// upper-cased (ASCII letters); callers give names in upper case. An empty pattern matches
// every name.
class KESTRA_SUITE_API CFilter {
 public:
  CFilter(std::string pattern, int option);
  void UpdatePattern(std::string pattern);
  // Non-zero on a match.
  int IsMatch(std::string name);

 private:
  std::string pattern_;
  int option_;
};
