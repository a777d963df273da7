#include "verify/packaging/PackagingRun.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/ArgumentValue.h"
#include "base/OwnFolder.h"
#include "dialogs/PartVerdict.h"
#include "verify/VerifyAllLock.h"
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
  // Only this flow's files go: temp also holds other flows' files and the history, logs and
  // run lock of `kestra verify all`.
  std::error_code error;
  if (MakeOwnFolder(setup.projectDir + "temp"))
    fs::remove(setup.projectDir + "temp/ptf.txt", error);
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

bool EnterPackagerScratch(const PackagerRun& run, std::string& savedDirectory, std::string* why) {
  std::error_code error;
  savedDirectory = fs::current_path(error).string();
  // Made anew as a folder of its own: a link planted in its place is not followed.
  std::string problem;
  if (RemakeOwnFolder(run.scratch, {}, &problem)) {
    if (::chdir(run.scratch.c_str()) == 0) return true;
    problem = "cannot enter " + run.scratch + ": " + std::strerror(errno);
  }
  if (why != nullptr) *why = problem;
  RestoreDirectory(savedDirectory);
  return false;
}

std::string ScratchFailureText(const std::string& scratch, const std::string& why) {
  return "Unable to chdir to : " + scratch + ", can't run checks" +
         (why.empty() ? "" : " (" + why + ")");
}

void ForgetPartReports(const PackagerSetup& setup, const std::vector<std::string>& cells) {
  std::error_code error;
  for (const std::string& cell : cells) {
    const std::string part = setup.projectDir + "temp/" + PackagerPartFileName(setup, cell);
    fs::remove(part + ".stat", error);
    fs::remove(part + ".log", error);
  }
}

std::string PackagingNameProblem(const std::string& libraryPath,
                                 const std::vector<std::string>& cells) {
  const auto refused = [](const char* what, const std::string& name, const std::string& why) {
    return std::string("Unable to run checks: the ") + what + " \"" + name +
           "\" cannot be passed to the packaging tools: " + why;
  };
  const std::string library = LibraryNameOfPath(libraryPath);
  if (std::string why = ToolNameProblem(library); !why.empty())
    return refused("library folder", library, why);
  // The packager is given each part's file name, the consistency check its name.
  for (const std::string& cell : cells) {
    for (const std::string& part : {cell, PartFileName(libraryPath, cell)}) {
      if (std::string why = ToolNameProblem(part); !why.empty()) return refused("part", part, why);
    }
  }
  return "";
}

std::string VerifyAllRunningText(const std::string& projectFile) {
  const std::string lock = VerifyAllLockFile(projectFile);
  // A job of that run (its child) works in a scratch copy, which may share the temp folder.
  if (!RunLockHeld(lock) || RunLockHolder(lock) == ::getppid()) return "";
  return "A kestra verify all is running on this project (it holds " + lock +
         "); verify again when it has ended";
}

void RestoreDirectory(const std::string& savedDirectory) {
  if (savedDirectory.empty()) return;
  [[maybe_unused]] const int ignored = ::chdir(savedDirectory.c_str());
}
