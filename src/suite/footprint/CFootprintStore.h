// The storage behind a CFootprint list, shared by the list itself (suitecore, no Qt) and its
// viewer start (the suite's launcher).
#pragma once

#include <deque>
#include <map>
#include <string>

#include "outside/CFootprint.h"
#include "suite/footprint/CFootprintItem.h"
#include "suite/footprint/FootprintFolderScan.h"

// Items and folder names in deques, so that the pointers handed out stay valid while the
// list grows; each folder is listed once per list (".psm" and ".dra" share the listing).
struct CFootprint::Store {
  std::deque<CFootprintItem> items;
  std::deque<std::string> folders;
  std::map<std::string, const std::string*> folderByName;
  std::map<std::string, FolderListing> listings;

  const std::string* Folder(const std::string& folder) {
    auto [it, added] = folderByName.emplace(folder, nullptr);
    if (added) it->second = &folders.emplace_back(folder);
    return it->second;
  }
  const FolderListing& Listing(const std::string& folder) {
    auto it = listings.find(folder);
    if (it == listings.end()) it = listings.emplace(folder, ListFolder(folder)).first;
    return it->second;
  }
};
