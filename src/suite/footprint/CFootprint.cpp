#include "outside/CFootprint.h"

#include <unordered_set>

#include "projectfile/SpiText.h"
#include "suite/footprint/CFootprintItem.h"
#include "suite/footprint/CFootprintStore.h"
#include "suite/footprint/FootprintFolderScan.h"
#include "suite/footprint/FootprintSearchPath.h"

namespace {

void NoteOnce(std::vector<std::string>& problems, std::string problem) {
  for (const std::string& known : problems)
    if (known == problem) return;
  problems.push_back(std::move(problem));
}

}  // namespace

CFootprint::CFootprint() : store_(std::make_unique<Store>()) {}
CFootprint::~CFootprint() = default;

int CFootprint::CreateFootprintList(std::string project, std::string extensionOrName, int,
                                    int option) {
  const FootprintSearchPath path = ReadFootprintSearchPath(project);
  if (!path.read) {
    NoteOnce(problems_, path.problem);
    return -1;
  }
  searchPath_ = path.folders;
  searchPathIsDefault_ = path.isDefault;
  const std::size_t before = store_->items.size();
  if (option == 1) searchedFile_ = extensionOrName;

  // Option 0 lists each name once: the names already listed, upper-cased.
  std::unordered_set<std::string> listed;
  if (option != 1) {
    listed.reserve(store_->items.size() * 2 + 64);
    for (const CFootprintItem& item : store_->items) listed.insert(spi::ToUpper(item.name));
  }
  for (const std::string& folder : path.folders) {
    std::vector<FootprintFile> files;
    std::string problem;
    if (option == 1) {
      files = FindFootprintFile(folder, extensionOrName, problem);
    } else {
      const FolderListing& listing = store_->Listing(folder);
      problem = listing.problem;
      files = FilesWithExtension(listing, extensionOrName);
    }
    if (!problem.empty()) NoteOnce(problems_, folder + ": " + problem);
    if (files.empty()) continue;
    const std::string* kept = store_->Folder(folder);
    for (FootprintFile& file : files) {
      if (option != 1 && !listed.insert(spi::ToUpper(file.name)).second) continue;
      store_->items.push_back({std::move(file.name), std::move(file.fileName), kept});
    }
  }
  return static_cast<int>(store_->items.size() - before);
}

void CFootprint::GetFootprintList(std::vector<CFootprintItem*>& items) {
  items.clear();
  items.reserve(store_->items.size());
  for (CFootprintItem& item : store_->items) items.push_back(&item);
}

void CFootprint::DeleteFootprintList() {
  store_ = std::make_unique<Store>();
  problems_.clear();
}

std::string CFootprint::GetPropValue(CFootprintItem* item) { return item ? item->name : ""; }

std::string CFootprint::GetPropPath(CFootprintItem* item) {
  return item && item->folder ? *item->folder : "";
}
