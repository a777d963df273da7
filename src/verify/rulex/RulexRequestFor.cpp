#include "verify/rulex/RulexRequestFor.h"

#include "base/MapLibraryName.h"
#include "base/qvdCommon.h"

std::string MappedOrSelected(const std::string& name) {
  return MapLibraryName(name).value_or(name);
}

RulexRequest RulexRequestFor(const std::string& projectFile, const std::string& projectDir,
                             const std::string& projectName, const std::string& library,
                             const std::string& cell,
                             const std::vector<std::string>& selectedLibraries,
                             bool referenceLibrary, const std::vector<int>& rules) {
  RulexRequest request;
  request.projectFile = projectFile;
  request.projectDir = projectDir;
  request.projectName = projectName;
  request.selectedLibrary = library;
  request.library = MappedOrSelected(library);
  request.cell = cell;
  for (const std::string& name : selectedLibraries) {
    request.selectedLibraries.push_back(MappedOrSelected(name));
  }
  request.referenceLibrary = referenceLibrary;
  request.rules = rules;
  request.installRoot = qvdGetInstPath(nullptr);
  return request;
}
