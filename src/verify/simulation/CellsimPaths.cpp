#include "verify/simulation/CellsimPaths.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/OwnFolder.h"
#include "outside/CFilePath.h"
#include "verify/PathNames.h"
#include "verify/WorkingDirectory.h"
#include "verify/simulation/CellsimTexts.h"

std::string CellsimProjectDirectory(const std::string& projectDir) {
  return projectDir.empty() ? "./" : projectDir;
}

std::string CellsimAbsoluteProjectDirectory(const std::string& projectDir) {
  std::error_code error;
  const std::filesystem::path absolute =
      std::filesystem::absolute(CellsimProjectDirectory(projectDir), error).lexically_normal();
  if (error) return projectDir;
  std::string text = absolute.string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

std::string CellsimScratchDirectory(const std::string& projectDir) {
  return CellsimProjectDirectory(projectDir) + "temp_sim_test";
}

std::string CellsimFinalStatusPath(const std::string& projectDir) {
  return CellsimProjectDirectory(projectDir) + "/temp_sim_test/finalstatus.rep";
}

std::string CellsimSummaryPath(const std::string& projectDir) {
  return CellsimProjectDirectory(projectDir) + "/temp_sim_test/cellsim_summary.rep";
}

namespace {

// Replaces directory by the absolute path of the folder it names, taken from the project
// directory (the current one); false when it cannot be entered.
bool AbsoluteDirectory(const std::string& project, std::string& directory) {
  CFilePath().NormalizePath(directory);
  if (!EnterDirectory(directory)) return false;
  directory = CurrentDirectory();
  EnterDirectory(project);
  return true;
}

}  // namespace

std::string ResolveCellsimPaths(const std::string& projectDir, CellsimSettings& settings) {
  const CurrentDirectoryGuard back;
  const std::string project = CellsimProjectDirectory(projectDir);
  EnterDirectory(project);
  if (settings.pathSource == CellsimPathSource::Specify) {
    if (!settings.modelDir.empty() && !AbsoluteDirectory(project, settings.modelDir)) {
      return kCellsimModelsMissing;
    }
    if (!settings.udpDir.empty() && !AbsoluteDirectory(project, settings.udpDir)) {
      return kCellsimUdpsMissing;
    }
  }
  if (settings.pathSource == CellsimPathSource::OptionsFile && !settings.optionsFile.empty()) {
    std::string& file = settings.optionsFile;
    CFilePath().NormalizePath(file);
    const std::size_t slash = file.rfind('/');
    const std::size_t cut = slash != std::string::npos ? slash : file.rfind('\\');
    if (cut != std::string::npos) {
      const std::string name = file.substr(cut + 1);
      // A folder that cannot be entered leaves the project directory in its place.
      EnterDirectory(ParentPath(file));
      file = CurrentDirectory() + "/" + name;
      EnterDirectory(project);
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return kCellsimOptionsFileMissing;
  }
  return "";
}

std::string EnterCellsimScratchDirectory(const std::string& projectDir) {
  const std::string scratch = CellsimScratchDirectory(projectDir);
  // Emptied rather than trusted: a folder left over would show the reports of an earlier run
  // as this one's, and a link planted in its place would take the reports elsewhere.
  std::string why;
  std::error_code error;
  const auto type = std::filesystem::symlink_status(scratch, error).type();
  const bool inTheWay = type != std::filesystem::file_type::not_found &&
                        type != std::filesystem::file_type::directory &&
                        type != std::filesystem::file_type::symlink;
  // A file in its place may be somebody's: it is refused, not removed.
  if (inTheWay) why = "cannot make the folder " + scratch + ": " + std::strerror(EEXIST);
  if (inTheWay || !RemakeOwnFolder(scratch, {}, &why) || !EnterDirectory(scratch)) {
    EnterDirectory(CellsimProjectDirectory(projectDir));
    if (why.empty()) why = "it cannot be entered";
    return std::string(kCellsimNoChdir) + scratch + kCellsimNoChdirEnd + " (" + why + ")";
  }
  return "";
}

std::string CellsimToolPath(const std::string& installRoot) {
  return installRoot + "/tools/libutil/cellsim.exe";
}
