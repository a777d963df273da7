#include "context/CKestraCmdContext.h"
#include "verify/rulex/RulexRequestFor.h"

RulexRequest RulexRequestFor(const CKestraCmdContext& command, const std::string& library,
                             const std::string& cell,
                             const std::vector<std::string>& selectedLibraries,
                             bool referenceLibrary, const std::vector<int>& rules) {
  return RulexRequestFor(command.GetProject(), command.GetProjectPath(), command.GetProjectName(),
                         library, cell, selectedLibraries, referenceLibrary, rules);
}
