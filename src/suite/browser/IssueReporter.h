// Writes the problems a library tree has met (bad list lines, missing directories, odd cell
// names) to standard error, each once per browser. UI thread only.
#pragma once

#include <map>
#include <ostream>

class LibraryTree;

class IssueReporter {
 public:
  explicit IssueReporter(std::ostream& out) : out_(out) {}
  // Reports what tree has found since the last call for the same tree.
  void ReportNew(const LibraryTree& tree);

 private:
  std::ostream& out_;
  std::map<const LibraryTree*, size_t> reported_;
};
