#include "verify/rulex/RulexPaths.h"

#include <filesystem>
#include <system_error>

std::string RulexTempProjectPath(const std::string& projectDir, const std::string& projectName) {
  return projectDir + projectName + "_tmp.tak";
}

std::string RulexLibraryListPath(const std::string& projectDir, bool referenceLibrary) {
  return projectDir + (referenceLibrary ? "refqvd.lib" : "qvd.lib");
}

std::string RulexRunDirectory(const std::string& projectDir,
                              const std::optional<std::string>& rundir) {
  // An empty value would put rx.dat at "/rx.dat"; it counts as no value.
  std::string dir = rundir && !rundir->empty() ? *rundir : "./rulex";
  if (dir.front() == '.') dir = projectDir + dir;
  return dir;
}

bool MakeDirectoryPath(const std::string& path) {
  std::error_code ignored;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '/' || path[i] == '\\') {
      std::filesystem::create_directory(path.substr(0, i + 1), ignored);
    }
  }
  std::filesystem::create_directory(path, ignored);
  return std::filesystem::is_directory(path, ignored);
}

std::string RulexOptions(const std::string& tempProject, const std::string& listFile) {
  return " -proj " + QuoteArgument(tempProject) + " -qvdlib " + QuoteArgument(listFile);
}

std::string RulexSelectionOptions(const std::string& library,
                                  const std::vector<std::string>& cells) {
  // Several cells each get their own -cell option, so every quote pairs up.
  std::string options = " -lib " + QuoteArgument(library);
  for (const std::string& cell : cells) options += " -cell " + QuoteArgument(cell);
  return options;
}
