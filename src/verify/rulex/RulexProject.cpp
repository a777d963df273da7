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

// Replaces the current directive's values; a refusal is the project library's to report.
void ReplaceValues(CSpiProject& project, const std::vector<std::string>& values) {
  project.ClearValues();
  for (const std::string& value : values) project.AddValue(value);
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
  if (FindOrAddDirective(project, "library")) ReplaceValues(project, libraries);
  if (!designLibrary.empty()) {
    if (FindOrAddDirective(project, "design_library")) ReplaceValues(project, {designLibrary});
    if (FindOrAddDirective(project, "design_name") && !designName.empty()) {
      ReplaceValues(project, {designName});
    }
  }
  return project.Save() == 0;
}
