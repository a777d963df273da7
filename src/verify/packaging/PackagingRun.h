// One Verify of the packaging flow, shared by the dialog and the headless verb: RunPackaging
// takes a request (filled once from the dialog's selection or the verb's words), checks it,
// prepares what is made once (the "temp" folder, the layout search text, the ptf directive
// file), orders the tool runs (the packager once, once per part, or the consistency check),
// hands each to a ToolRunner and reads the reports into results. Standard C++ only; UI thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "verify/ToolRunner.h"
#include "verify/VerifyResult.h"
#include "verify/packaging/PackagingOptions.h"

struct PackagingRequest {
  std::string projectFile;
  std::string projectPath;                // the project's directory as the command object gives it
  std::string library;                    // as selected
  std::string libraryPath;                // its directory
  std::vector<std::string> cells;         // the selected parts; none for the whole library
  std::vector<std::string> libraryCells;  // every part of the library
  std::uint16_t options = 0;
  bool consistency = false;  // the consistency check (tes2tes) instead of the packager
  std::size_t parallel = 1;  // parts at once in a per-part run (a runner may run fewer)
  std::string installRoot;
};

enum class PackagingStage {
  Verdict,     // the reports gave the results
  Refused,     // the request cannot run (problem): nothing ran
  Blocked,     // the project is busy or a name cannot reach the tools (problem): nothing ran
  NotStarted,  // no tool could start; the runner has been told why
  Cancelled,   // the user stopped the run: no verdict
};

// What a run composed and how far it got.
struct PackagingPlan {
  PackagingStage stage = PackagingStage::Refused;
  std::string problem;             // Refused, Blocked: the text to show
  std::vector<std::string> cells;  // the parts of the run (the library's when none were selected)
  std::string lastArguments;       // the argument text of the last tool composed
  std::string scratch;             // the packager's scratch directory of a run without report
  // Parts of a per-part run whose tool was ended by a signal, with how ("ended by ...").
  std::map<std::string, std::string> unknownParts;
};

// The results of a Verify: one for a run of the library, of one or several parts or of the
// consistency check, one per part for the pass/fail report; none when cancelled. A run that
// did not start gives results whose message and cause say why. The current directory is the
// same afterwards.
std::vector<VerifyResult> RunPackaging(const PackagingRequest& request, ToolRunner& runner,
                                       PackagingPlan& plan);

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
  std::string scratch;  // the tool's working directory, made anew for each run
};

// The run of one part (cells holds it), of several parts, or of the library (cells empty).
PackagerRun ComposePackagerRun(const PackagerSetup& setup, PackagingRunMode mode,
                               const std::vector<std::string>& cells, const std::string& scratch);

// The file name of the part a one-part run covers (for its per-part reports).
std::string PackagerPartFileName(const PackagerSetup& setup, const std::string& cell);

// Removes the per-part report copies (temp/<part>.stat and .log) of cells, so that a part that
// gives no report this time does not show an earlier run's.
void ForgetPartReports(const PackagerSetup& setup, const std::vector<std::string>& cells);

// "Unable to chdir to : T, can't run checks", followed by " (why)" when why is given.
std::string ScratchFailureText(const std::string& scratch, const std::string& why = "");
