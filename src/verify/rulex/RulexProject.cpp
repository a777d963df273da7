#include "verify/rulex/RulexProject.h"

#include <string_view>

#include "base/ReplaceFile.h"
#include "projectfile/CSpiProject.h"

namespace {

std::optional<std::string> RunDirectoryOf(CSpiProject& project) {
  std::string value;
  if (project.FindProgram("RULEX") != 0 || project.GetValue("rundir", value) != 0)
    return std::nullopt;
  return value;
}

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

// text without its second line when that is the save time ("{ Last modified was ... }").
std::string_view WithoutSaveTime(std::string_view text, std::string& kept) {
  static constexpr std::string_view kStamp = "{ Last modified was ";
  const std::size_t second = text.find('\n');
  if (second == std::string_view::npos || text.substr(second + 1, kStamp.size()) != kStamp)
    return text;
  const std::size_t third = text.find('\n', second + 1);
  kept.assign(text.substr(0, second + 1));
  if (third != std::string_view::npos) kept.append(text.substr(third + 1));
  return kept;
}

// Whether the temporary project at path (a regular file with one name) holds text, its save
// time apart.
bool HoldsSameSettings(const std::string& path, const std::string& text) {
  constexpr std::size_t kStampRoom = 256;  // the longest save time line and then some
  std::string held;
  if (!ReadSingleNameFile(path, held, text.size() + kStampRoom)) return false;
  std::string heldKept, textKept;
  return WithoutSaveTime(held, heldKept) == WithoutSaveTime(text, textKept);
}

}  // namespace

std::optional<std::string> ReadRulexRunDirectory(const std::string& projectFile) {
  CSpiProject project;
  if (project.Open(projectFile) != 0) return std::nullopt;
  return RunDirectoryOf(project);
}

bool WriteTempProject(const std::string& projectFile, const std::string& tempProject,
                      const std::string& designLibrary, const std::string& designName,
                      const std::vector<std::string>& libraries, RulexProjectSettings& settings) {
  KeptDirectives refused;
  CSpiProject project;
  if (project.Open(projectFile) != 0) return false;
  settings.runDirectory = RunDirectoryOf(project);
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
  settings.kept = std::move(refused);
  // Written anew by every run that changes it, next to the project: whatever stands at its
  // place (a planted link too) is replaced, never followed, and nobody waits for the device.
  // A file that holds the same settings (a rerun on the same part) is kept with its save time:
  // creating a new file and renaming it over the old one costs more than the whole write.
  return project.SaveCopy(tempProject, [&tempProject](const std::string& text) {
    return HoldsSameSettings(tempProject, text) || ReplaceFileContent(tempProject, text);
  }) == 0;
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
