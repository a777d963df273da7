#include "verify/rulex/RulexRequestFor.h"

#include "base/MapLibraryName.h"
#include "base/qvdCommon.h"
#include "context/CKestraCmdContext.h"

std::string MappedOrSelected(const std::string& name) {
  return MapLibraryName(name).value_or(name);
}

RulexRequest RulexRequestFor(const CKestraCmdContext& command, const std::string& mappedLibrary,
                             const std::string& cell,
                             const std::vector<std::string>& selectedLibraries,
                             bool referenceLibrary, const std::vector<int>& rules) {
  RulexRequest request;
  request.projectFile = command.GetProject();
  request.projectDir = command.GetProjectPath();
  request.projectName = command.GetProjectName();
  request.library = mappedLibrary;
  request.cell = cell;
  for (const std::string& name : selectedLibraries) {
    request.selectedLibraries.push_back(MappedOrSelected(name));
  }
  request.referenceLibrary = referenceLibrary;
  request.rules = rules;
  request.installRoot = qvdGetInstPath(nullptr);
  return request;
}
