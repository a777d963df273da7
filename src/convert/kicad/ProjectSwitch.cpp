#include "convert/kicad/ProjectSwitch.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>

#include "base/ReplaceFile.h"
#include "convert/kicad/ImportOutput.h"
#include "libformat/LineWords.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiLastMessage.h"

namespace {

bool UnderImport(const std::string& folder) {
  const std::string prefix = std::string(kImportFolder) + "/";
  return folder.rfind(prefix, 0) == 0 || folder.rfind("./" + prefix, 0) == 0;
}

std::string ListText(const std::string& projectDir) {
  std::string text;
  ReadRegularFile(projectDir + "qvd.lib", text);
  return text;
}

// qvd.lib without the lines of an earlier import, with the new libraries at its end.
std::string NewListText(const std::string& old, const ImportedLibraries& libraries) {
  std::string text;
  std::istringstream in(old);
  for (std::string line; std::getline(in, line);)
    if (!IsImportedLine(line)) text += line + "\n";
  for (const auto& [name, folder] : libraries.symbolLibraries)
    text += name + " ./" + kImportFolder + "/" + folder + "\n";
  return text;
}

// PSMPATH of program PAVREL in the project file: the folders of an earlier import out, the
// new ones in, the project's own kept in front.
bool SetFootprintPath(const std::string& projectFile, const ImportedLibraries& libraries,
                      std::string& error) {
  CSpiProject project;
  if (project.OpenForChange(projectFile) != 0) {
    error = "cannot open " + projectFile + ": " + SpiLastMessage();
    return false;
  }
  std::vector<std::string> values;
  if (project.FindProgram("PAVREL") != 0 && project.AddProgram("PAVREL") == nullptr) {
    error = "cannot add program PAVREL to " + projectFile + ": " + SpiLastMessage();
    return false;
  }
  const bool had = project.FindDirective("PSMPATH") == 0;
  if (!had && libraries.footprintFolders.empty()) return true;
  if (had) {
    project.RewindValues();
    for (std::string value; project.GetNextValue(value) == 0;)
      if (!UnderImport(value)) values.push_back(value);
  }
  for (const std::string& folder : libraries.footprintFolders)
    values.push_back("./" + std::string(kImportFolder) + "/" + folder);
  bool ok = project.AddDirective("PSMPATH") == 0 && project.ClearValues() == 0;
  for (const std::string& value : values) ok = ok && project.AddValue(value) == 0;
  if (!ok || project.Save() != 0) {
    error = "cannot set PSMPATH in " + projectFile + ": " + SpiLastMessage();
    return false;
  }
  return true;
}

}  // namespace

bool ProjectCanChange(const std::string& projectFile, std::string& error) {
  CSpiProject project;
  if (project.OpenForChange(projectFile) == 0) return true;
  error = "cannot open " + projectFile + ": " + SpiLastMessage();
  return false;
}

bool IsImportedLine(const std::string& line) {
  const LineWords words = SplitLineWords(line);
  return words.words.size() == 2 && UnderImport(words.words[1]);
}

std::vector<std::string> ClashingLibraryNames(const std::string& projectDir,
                                              const ImportedLibraries& libraries) {
  std::set<std::string> own;
  std::istringstream in(ListText(projectDir));
  for (std::string line; std::getline(in, line);) {
    const LineWords words = SplitLineWords(line);
    if (words.words.size() == 2 && !UnderImport(words.words[1])) own.insert(words.words[0]);
  }
  std::vector<std::string> clashes;
  for (const auto& library : libraries.symbolLibraries)
    if (own.count(library.first)) clashes.push_back(library.first);
  return clashes;
}

bool SwitchImport(const std::string& projectDir, const std::string& projectFile,
                  const std::string& staging, const ImportedLibraries& libraries,
                  std::string& error, int removers) {
  const std::string target = projectDir + kImportFolder;
  const std::string old = projectDir + "." + kImportFolder + "-old-" + std::to_string(::getpid());
  const std::string oldList = ListText(projectDir);
  const bool hadOld = ::rename(target.c_str(), old.c_str()) == 0;
  if (!hadOld && errno != ENOENT) {
    error = "cannot move the earlier import " + target + " aside: " + std::strerror(errno);
    return false;
  }
  auto undo = [&] {
    ::rename(target.c_str(), staging.c_str());
    if (hadOld) ::rename(old.c_str(), target.c_str());
    ReplaceFileContent(projectDir + "qvd.lib", oldList);
  };
  if (::rename(staging.c_str(), target.c_str()) != 0) {
    error = "cannot move " + staging + " to " + target + ": " + std::strerror(errno);
    if (hadOld) ::rename(old.c_str(), target.c_str());
    return false;
  }
  if (!ReplaceFileContent(projectDir + "qvd.lib", NewListText(oldList, libraries), &error) ||
      !SetFootprintPath(projectFile, libraries, error)) {
    undo();
    return false;
  }
  if (hadOld) RemoveTree(old, removers);
  return true;
}
