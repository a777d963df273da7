// KestraCore's browser data: the project-library tree (from projectPath + "qvd.lib") and the
// reference-library tree (from projectPath + "refqvd.lib") of one browser. Each tree is
// read when first asked for and may be shared with another browser (InitialiseBuildTree,
// InitialiseRefTree), which then reuses the cells already read. Owned by its browser; UI
// thread only. Hand trees over before the browser shows any chooser or tree.
#pragma once

#include <memory>
#include <string>

#include "outside/SuiteExport.h"

class LibraryTree;

class KESTRA_SUITE_API C5XBrowserData {
 public:
  explicit C5XBrowserData(std::string projectPath);
  ~C5XBrowserData();
  C5XBrowserData(const C5XBrowserData&) = delete;
  C5XBrowserData& operator=(const C5XBrowserData&) = delete;

  std::shared_ptr<LibraryTree> GetBuildTree();
  std::shared_ptr<LibraryTree> GetRefTree();
  void InitialiseBuildTree(std::shared_ptr<LibraryTree> tree);
  void InitialiseRefTree(std::shared_ptr<LibraryTree> tree);

 private:
  std::string projectPath_;
  std::shared_ptr<LibraryTree> buildTree_;
  std::shared_ptr<LibraryTree> refTree_;
};
