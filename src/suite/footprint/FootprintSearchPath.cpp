#include "suite/footprint/FootprintSearchPath.h"

#include <filesystem>

#include "base/qvdCommon.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiLastMessage.h"

namespace fs = std::filesystem;

std::vector<std::string> DefaultFootprintFolders() {
  return {qvdGetInstallRoot() + "/share/pavrel/symbols"};
}

FootprintSearchPath ReadFootprintSearchPath(const std::string& projectFile) {
  FootprintSearchPath path;
  CSpiProject project;
  if (project.Open(projectFile) != 0) {
    path.problem = "cannot read the project file " + projectFile + ": " + SpiLastMessage();
    return path;
  }
  path.read = true;
  std::error_code ec;
  const fs::path projectDir = fs::absolute(projectFile, ec).parent_path();
  if (project.FindProgram("PAVREL") == 0 && project.FindDirective("PSMPATH") == 0) {
    project.RewindValues();
    std::string value;
    while (project.GetNextValue(value) == 0) {
      if (value.empty()) continue;
      fs::path folder(value);
      if (folder.is_relative()) folder = projectDir / folder;
      path.folders.push_back(folder.lexically_normal().string());
    }
  }
  if (path.folders.empty()) {
    path.folders = DefaultFootprintFolders();
    path.isDefault = true;
  }
  // A trailing separator would show in every location ("footprints/").
  for (std::string& folder : path.folders) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  }
  return path;
}
