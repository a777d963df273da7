// The libraries of one list file with their cells and views, read from disk on demand: the
// list when the tree is made, a library's cells the first time they are asked for, a cell's
// views likewise, each at most once. Shared between browsers (std::shared_ptr); not
// thread-safe: use it from one thread (the UI thread in the browser).
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "libformat/LibraryList.h"
#include "libformat/PortableName.h"

struct CellEntry {
  std::string name;
  // False for names with control characters, which no tool can take. Such cells are shown
  // but cannot be chosen.
  bool usable = true;
};

class LibraryTree {
 public:
  LibraryTree(std::string listFile, const VariableExpander& expand);
  LibraryTree(const LibraryTree&) = delete;
  LibraryTree& operator=(const LibraryTree&) = delete;

  const std::string& ListFile() const { return listFile_; }
  const std::vector<LibraryEntry>& Libraries() const { return list_.libraries; }
  const LibraryEntry* FindLibrary(const std::string& name) const;

  // The cells of library in name order (empty for an unknown or unreadable library).
  const std::vector<CellEntry>& Cells(const std::string& library);
  bool CellsLoaded(const std::string& library) const { return cells_.count(library) != 0; }
  // Whether Cells(library) holds cell as a usable cell, found without listing the library
  // when its cells are not loaded yet: one look at the cell's own folder, not a read of a
  // folder of thousands of parts.
  bool HasUsableCell(const std::string& library, const std::string& cell) const;
  // The view directories of a cell in name order.
  const std::vector<std::string>& Views(const std::string& library, const std::string& cell);

  // Everything reported so far: the list file's issues, then directory problems as met.
  const FormatIssues& Issues() const { return list_.issues; }
  // How many directories have been listed (for tests of the lazy loading).
  int DirectoryReads() const { return directoryReads_; }

 private:
  std::vector<std::string> ListSubdirectories(const std::string& directory);

  std::string listFile_;
  LibraryList list_;
  std::unordered_map<std::string, std::size_t> index_;  // library name -> its entry
  std::map<std::string, std::vector<CellEntry>> cells_;
  std::map<std::pair<std::string, std::string>, std::vector<std::string>> views_;
  int directoryReads_ = 0;
};
