#include "verify/rulex/RulexProject.h"

#include "projectfile/CSpiProject.h"

std::optional<std::string> ReadRulexRunDirectory(const std::string& projectFile) {
  CSpiProject project;
  std::string value;
  if (project.Open(projectFile) != 0 || project.FindProgram("RULEX") != 0 ||
      project.GetValue("rundir", value) != 0) {
    return std::nullopt;
  }
  return value;
}

namespace {

// FindDirective, creating the directive when it is missing; true when it is current then.
bool FindOrAddDirective(CSpiProject& project, const std::string& name) {
  if (project.FindDirective(name) == 0) return true;
  project.AddDirective(name);
  return project.FindDirective(name) == 0;
}

// Replaces the current directive's values; false when the project library refused one (a
// temporary project without a library it should name must not be checked instead).
bool ReplaceValues(CSpiProject& project, const std::vector<std::string>& values) {
  project.ClearValues();
  bool all = true;
  for (const std::string& value : values) all = project.AddValue(value) == 0 && all;
  return all;
}

}  // namespace

bool UpdateTempProject(const std::string& tempProject, const std::string& designLibrary,
                       const std::string& designName, const std::vector<std::string>& libraries) {
  CSpiProject project;
  if (project.Open(tempProject) != 0) return false;
  if (project.FindProgram("GLOBAL") != 0) {
    project.AddProgram("GLOBAL");
    if (project.FindProgram("GLOBAL") != 0) return false;
  }
  bool complete = true;
  if (FindOrAddDirective(project, "library")) complete = ReplaceValues(project, libraries);
  if (!designLibrary.empty()) {
    if (FindOrAddDirective(project, "design_library"))
      complete = ReplaceValues(project, {designLibrary}) && complete;
    if (FindOrAddDirective(project, "design_name") && !designName.empty()) {
      complete = ReplaceValues(project, {designName}) && complete;
    }
  }
  return complete && project.Save() == 0;
}
