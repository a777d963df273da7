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

// Replaces the current directive's values. A refusal by the control settings leaves the
// locked values (tak.log says why) and the run goes on with them: the directive is noted.
void ReplaceValues(CSpiProject& project, const std::string& directive,
                   const std::vector<std::string>& values, KeptDirectives& kept) {
  bool refused = project.ClearValues() != 0;
  for (const std::string& value : values) refused = project.AddValue(value) != 0 || refused;
  if (refused) kept.names.push_back("GLOBAL:" + directive);
}

}  // namespace

bool UpdateTempProject(const std::string& tempProject, const std::string& designLibrary,
                       const std::string& designName, const std::vector<std::string>& libraries,
                       KeptDirectives* kept) {
  KeptDirectives refused;
  CSpiProject project;
  project.SetScratchProject(true);  // written anew by every run
  if (project.Open(tempProject) != 0) return false;
  if (project.FindProgram("GLOBAL") != 0) {
    project.AddProgram("GLOBAL");
    if (project.FindProgram("GLOBAL") != 0) return false;
  }
  if (FindOrAddDirective(project, "library")) ReplaceValues(project, "library", libraries, refused);
  if (!designLibrary.empty()) {
    if (FindOrAddDirective(project, "design_library"))
      ReplaceValues(project, "design_library", {designLibrary}, refused);
    if (FindOrAddDirective(project, "design_name") && !designName.empty())
      ReplaceValues(project, "design_name", {designName}, refused);
  }
  refused.logPath = project.LogPath();
  if (kept != nullptr) *kept = std::move(refused);
  return project.Save() == 0;
}

std::string KeptDirectivesNote(const KeptDirectives& kept) {
  std::string note;
  for (const std::string& name : kept.names) {
    note += "Note: the control settings keep the locked values of directive \"" + name +
            "\" in the temporary project; the Rules Checker runs with them. See " + kept.logPath +
            "\n";
  }
  return note;
}
