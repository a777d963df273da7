#include "verify/ProjectLibrary.h"

#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "outside/CFilePath.h"

namespace {

bool Lists(const std::shared_ptr<LibraryTree>& tree, const std::string& library) {
  const LibraryEntry* entry = tree->FindLibrary(library);
  return entry != nullptr && entry->directoryExists;
}

}  // namespace

ProjectLibrary FindProjectLibrary(const std::string& projectPath, const std::string& library,
                                  bool reference, std::string& problem, bool& usage) {
  C5XBrowserData data(projectPath);
  std::shared_ptr<LibraryTree> asked = reference ? data.GetRefTree() : data.GetBuildTree();
  const std::string list = projectPath + (reference ? "refqvd.lib" : "qvd.lib");
  usage = false;
  if (Lists(asked, library)) return {list, asked};
  usage = Lists(reference ? data.GetBuildTree() : data.GetRefTree(), library);
  problem = usage ? (reference ? library + " is a project library (qvd.lib): leave out -ref"
                               : library + " is a reference library (refqvd.lib): add -ref")
                  : "no library " + library + " in " + list;
  return {};
}

std::string ProjectFolder(const std::string& projectFile) {
  std::string folder;
  CFilePath().GetProjPathFromName(projectFile, folder);
  return folder;
}

std::string MissingPartProblem(LibraryTree& tree, const std::string& library,
                               const std::string& cell) {
  if (tree.HasUsableCell(library, cell)) return "";
  return "library " + library + " has no part " + cell;
}
