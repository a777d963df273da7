#include "outside/CFootprint.h"

#include <unordered_set>

#include "base/QuoteArgument.h"
#include "outside/CToolLauncher.h"
#include "projectfile/SpiText.h"
#include "suite/footprint/CFootprintItem.h"
#include "suite/footprint/FootprintFolderScan.h"
#include "suite/footprint/FootprintSearchPath.h"

namespace {

void NoteOnce(std::vector<std::string>& problems, std::string problem) {
  for (const std::string& known : problems)
    if (known == problem) return;
  problems.push_back(std::move(problem));
}

}  // namespace

CFootprint::CFootprint() = default;
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
  const std::size_t before = items_.size();
  if (option == 1) searchedFile_ = extensionOrName;

  // Option 0 lists each name once: the names already listed, upper-cased.
  std::unordered_set<std::string> listed;
  if (option != 1) {
    listed.reserve(items_.size() * 2 + 64);
    for (const auto& item : items_) listed.insert(spi::ToUpper(item->name));
  }
  for (const std::string& folder : path.folders) {
    const FootprintFolderScan scan = option == 1 ? FindFootprintFile(folder, extensionOrName)
                                                 : ScanFootprintFolder(folder, extensionOrName);
    if (!scan.problem.empty()) NoteOnce(problems_, folder + ": " + scan.problem);
    for (const FootprintFile& file : scan.files) {
      if (option != 1 && !listed.insert(spi::ToUpper(file.name)).second) continue;
      auto item = std::make_unique<CFootprintItem>();
      item->name = file.name;
      item->folder = folder;
      item->fileName = file.fileName;
      item->file = folder + "/" + file.fileName;
      items_.push_back(std::move(item));
    }
  }
  return static_cast<int>(items_.size() - before);
}

void CFootprint::GetFootprintList(std::vector<CFootprintItem*>& items) {
  items.clear();
  items.reserve(items_.size());
  for (const auto& item : items_) items.push_back(item.get());
}

void CFootprint::DeleteFootprintList() {
  items_.clear();
  problems_.clear();
}

std::string CFootprint::GetPropValue(CFootprintItem* item) { return item ? item->name : ""; }

std::string CFootprint::GetPropPath(CFootprintItem* item) { return item ? item->folder : ""; }

int CFootprint::LaunchViewer(std::string product, std::string project, CToolLauncher* launcher,
                             std::string location, std::string verifyFile) {
  if (!launcher) return -1;
  const CFootprintItem* chosen = nullptr;
  for (const auto& item : items_) {
    if (!spi::EqualsIgnoringCase(item->fileName, searchedFile_)) continue;
    if (location.empty() || item->folder == location) {
      chosen = item.get();
      break;
    }
  }
  if (!chosen) return -1;
  std::string args = " -proj " + QuoteArgument(project) + " -symbol " + QuoteArgument(chosen->file);
  if (!verifyFile.empty()) args += " -verify " + QuoteArgument(verifyFile);
  return launcher->launchPavrel(args, product);
}
