#include "verify/packaging/PackagingRun.h"

#include <unistd.h>

#include <filesystem>

#include "dialogs/PartVerdict.h"
#include "verify/packaging/PackagingCommand.h"
#include "verify/packaging/PackagingPtf.h"
#include "verify/packaging/PackagingReports.h"
#include "verify/packaging/PackagingSearchPath.h"

namespace fs = std::filesystem;

std::string PackagingProjectDirectory(const std::string& projectDir) {
  std::error_code error;
  std::string directory =
      fs::absolute(projectDir.empty() ? "./" : projectDir, error).lexically_normal().string();
  if (directory.empty()) directory = projectDir.empty() ? "./" : projectDir;
  if (directory.back() != '/') directory += '/';
  return directory;
}

std::vector<std::string> PreparePackagerVerify(PackagerSetup& setup) {
  std::vector<std::string> notes;
  RemakeDirectory(setup.projectDir + "temp");
  setup.searchText.clear();
  setup.ptfFile.clear();
  if (setup.options & kUptoBoard) {
    std::string problem;
    setup.searchText =
        LayoutSearchText(setup.projectFile, LayoutSetupLibrary(setup.installRoot), problem);
    if (!problem.empty()) notes.push_back(problem);
  }
  if (setup.options & kUseProjectPtfFiles) {
    std::vector<std::string> leftOut;
    setup.ptfFile = WritePtfFile(setup.projectFile, setup.projectDir, leftOut);
    if (std::string text = PtfLeftOutText(leftOut); !text.empty()) notes.push_back(text);
  }
  return notes;
}

std::string PackagerPartFileName(const PackagerSetup& setup, const std::string& cell) {
  return PartFileName(setup.libraryPath, cell);
}

PackagerRun ComposePackagerRun(const PackagerSetup& setup, PackagingRunMode mode,
                               const std::vector<std::string>& cells, const std::string& scratch) {
  PackagerRun run;
  run.mode = mode;
  run.scratch = scratch;
  run.tool = PackagerTool(setup.installRoot);
  PackagerCommand command;
  command.libraryPath = setup.libraryPath;
  command.mode = mode;
  command.options = setup.options;
  command.searchText = setup.searchText;
  command.ptfFile = setup.ptfFile;
  if (mode == PackagingRunMode::OnePart && !cells.empty()) {
    run.cell = cells.front();
    command.cellText = PackagerPartFileName(setup, run.cell);
  } else if (mode == PackagingRunMode::SeveralParts) {
    command.cellText = SeveralPartsCellText(setup.libraryPath, cells);
  }
  run.statusLine = PackagingStatusLine(mode, setup.library, run.cell);
  run.arguments = PackagerArguments(command);
  return run;
}

bool EnterPackagerScratch(const PackagerRun& run, std::string& savedDirectory) {
  std::error_code error;
  savedDirectory = fs::current_path(error).string();
  RemakeDirectory(run.scratch);
  if (::chdir(run.scratch.c_str()) == 0) return true;
  RestoreDirectory(savedDirectory);
  return false;
}

std::string ScratchFailureText(const std::string& scratch) {
  return "Unable to chdir to : " + scratch + ", can't run checks";
}

void RestoreDirectory(const std::string& savedDirectory) {
  if (savedDirectory.empty()) return;
  [[maybe_unused]] const int ignored = ::chdir(savedDirectory.c_str());
}
