#include "libformat/LibraryTree.h"

#include <algorithm>
#include <filesystem>

#include "libformat/PortableName.h"

namespace fs = std::filesystem;

LibraryTree::LibraryTree(std::string listFile, const VariableExpander& expand)
    : listFile_(std::move(listFile)), list_(ReadLibraryList(listFile_, expand)) {
  // The list holds each name once: a lookup per library stays linear over the whole list.
  index_.reserve(list_.libraries.size());
  for (std::size_t i = 0; i < list_.libraries.size(); ++i)
    index_.emplace(list_.libraries[i].name, i);
}

const LibraryEntry* LibraryTree::FindLibrary(const std::string& name) const {
  const auto found = index_.find(name);
  return found == index_.end() ? nullptr : &list_.libraries[found->second];
}

std::vector<std::string> LibraryTree::ListSubdirectories(const std::string& directory) {
  ++directoryReads_;
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(directory, ec);
  if (ec) {
    list_.issues.push_back({directory, 0, "cannot be read: " + ec.message()});
    return names;
  }
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    const std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.' || !it->is_directory(typeError)) continue;
    names.push_back(name);
  }
  if (ec) list_.issues.push_back({directory, 0, "listing stopped early: " + ec.message()});
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<CellEntry>& LibraryTree::Cells(const std::string& library) {
  auto found = cells_.find(library);
  if (found != cells_.end()) return found->second;
  std::vector<CellEntry>& cells = cells_[library];
  const LibraryEntry* entry = FindLibrary(library);
  if (entry == nullptr || !entry->directoryExists) return cells;
  for (std::string& name : ListSubdirectories(entry->directory)) {
    const bool usable = IsPortableName(name);
    if (!usable) {
      list_.issues.push_back({entry->directory + "/" + name, 0,
                              "cell name contains control characters; shown but not "
                              "selectable"});
    }
    cells.push_back({std::move(name), usable});
  }
  if (cells.empty()) list_.issues.push_back({entry->directory, 0, "library has no cells"});
  return cells;
}

bool LibraryTree::HasUsableCell(const std::string& library, const std::string& cell) const {
  if (const auto loaded = cells_.find(library); loaded != cells_.end()) {
    for (const CellEntry& entry : loaded->second)
      if (entry.usable && entry.name == cell) return true;
    return false;
  }
  const LibraryEntry* entry = FindLibrary(library);
  // The names a listing gives: no hidden entry, no path, a folder (through a link) of the
  // library's own folder.
  if (entry == nullptr || !entry->directoryExists || cell.empty() || cell.front() == '.' ||
      cell.find('/') != std::string::npos || !IsPortableName(cell))
    return false;
  std::error_code error;
  return fs::is_directory(entry->directory + "/" + cell, error);
}

const std::vector<std::string>& LibraryTree::Views(const std::string& library,
                                                   const std::string& cell) {
  const auto key = std::make_pair(library, cell);
  auto found = views_.find(key);
  if (found != views_.end()) return found->second;
  std::vector<std::string>& views = views_[key];
  const LibraryEntry* entry = FindLibrary(library);
  if (entry != nullptr && entry->directoryExists && !cell.empty())
    views = ListSubdirectories(entry->directory + "/" + cell);
  return views;
}
