// One Verify of the packager validation, shared by the dialog and the headless verb: what is
// prepared once (the "temp" folder, the layout search text, the ptf directive file) and what
// each tool run composes (status line, tool, argument text, scratch directory). Starting the
// tool and waiting for it is the caller's. Standard C++ only; UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "verify/packaging/PackagingOptions.h"

struct PackagerSetup {
  std::string projectFile;
  std::string projectDir;   // absolute, ends in its separator
  std::string library;      // as selected
  std::string libraryPath;  // its directory
  std::string installRoot;
  std::uint16_t options = 0;
  std::string searchText;  // filled by PreparePackagerVerify with kUptoBoard
  std::string ptfFile;     // filled by PreparePackagerVerify with kUseProjectPtfFiles
};

// The project directory a run works in: projectDir made absolute ("./" when empty), ending
// in a separator.
std::string PackagingProjectDirectory(const std::string& projectDir);

// "" when no `kestra verify all` holds its run lock on the project; else why a Verify must
// wait. A Verify writes in the project's folders that such a run reads and keeps.
std::string VerifyAllRunningText(const std::string& projectFile);

// "" when every name the packaging tools are given (the library's folder name, each part's
// name and file name) reaches them as one intact word; else the message to show, naming the first
// that cannot.
std::string PackagingNameProblem(const std::string& libraryPath,
                                 const std::vector<std::string>& cells);

// Prepares a Verify: the project directory's "temp" made when missing (what other programs keep
// there stays: only this flow's ptf file goes), the layout search text with
// kUptoBoard and the ptf directive file with kUseProjectPtfFiles. Returns what to tell the
// user (a setup library that failed, a ptf file that was cut), one text each; the run goes on.
std::vector<std::string> PreparePackagerVerify(PackagerSetup& setup);

struct PackagerRun {
  PackagingRunMode mode = PackagingRunMode::Library;
  std::string cell;        // the part of a one-part run
  std::string statusLine;  // for the progress dialog
  std::string tool;
  std::string arguments;
  std::string scratch;  // the tool's working directory, made anew by StartPackagerRun
};

// The run of one part (cells holds it), of several parts, or of the library (cells empty).
PackagerRun ComposePackagerRun(const PackagerSetup& setup, PackagingRunMode mode,
                               const std::vector<std::string>& cells, const std::string& scratch);

// The file name of the part a one-part run covers (for its per-part reports).
std::string PackagerPartFileName(const PackagerSetup& setup, const std::string& cell);

// Removes the per-part report copies (temp/<part>.stat and .log) of cells, so that a part that
// gives no report this time does not show an earlier run's.
void ForgetPartReports(const PackagerSetup& setup, const std::vector<std::string>& cells);

// Remakes the run's scratch directory and makes it the current directory, after saving the
// current one in savedDirectory. False when the scratch directory cannot be entered (why, when
// given, then says why); the current directory is then the saved one again.
bool EnterPackagerScratch(const PackagerRun& run, std::string& savedDirectory,
                          std::string* why = nullptr);

// "Unable to chdir to : T, can't run checks", followed by " (why)" when why is given.
std::string ScratchFailureText(const std::string& scratch, const std::string& why = "");

// Goes back to a saved current directory (nothing when it is empty or gone).
void RestoreDirectory(const std::string& savedDirectory);
