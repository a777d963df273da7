#include "outside/C5XBrowserData.h"

#include "libformat/LibraryTree.h"
#include "projectfile/SpiExpandVariables.h"

C5XBrowserData::C5XBrowserData(std::string projectPath) : projectPath_(std::move(projectPath)) {
  // Callers pass the project directory with its separator; tolerate one without.
  if (!projectPath_.empty() && projectPath_.back() != '/' && projectPath_.back() != '\\')
    projectPath_ += '/';
}

C5XBrowserData::~C5XBrowserData() = default;

std::shared_ptr<LibraryTree> C5XBrowserData::GetBuildTree() {
  if (!buildTree_)
    buildTree_ = std::make_shared<LibraryTree>(projectPath_ + "qvd.lib", SpiExpandVariables);
  return buildTree_;
}

std::shared_ptr<LibraryTree> C5XBrowserData::GetRefTree() {
  if (!refTree_)
    refTree_ = std::make_shared<LibraryTree>(projectPath_ + "refqvd.lib", SpiExpandVariables);
  return refTree_;
}

void C5XBrowserData::InitialiseBuildTree(std::shared_ptr<LibraryTree> tree) {
  if (tree) buildTree_ = std::move(tree);
}

void C5XBrowserData::InitialiseRefTree(std::shared_ptr<LibraryTree> tree) {
  if (tree) refTree_ = std::move(tree);
}
