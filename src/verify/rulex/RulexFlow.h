// One rules-checker run from selection to verdict, shared by the dialog and the command
// line: compose the inputs (temporary project, run directory, command file), hand the run to
// a RulexToolRunner (the dialog shows its progress dialog, the command line writes progress
// to standard error), then read the log. Standard C++ only; UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "verify/Finding.h"
#include "verify/rulex/RulexLog.h"

struct RulexRequest {
  std::string projectFile;
  std::string projectDir;  // ends in its separator
  std::string projectName;
  std::string library;                         // on-disk (mapped) name of the library to check
  std::string cell;                            // the one cell to check, or "" for the whole library
  std::vector<std::string> selectedLibraries;  // mapped names for the "library" directive
  bool referenceLibrary = false;               // the library is a reference library
  std::vector<int> rules;                      // MakeRuleList form
  std::string installRoot;                     // qvdGetInstPath(nullptr)
};

// Everything a run composes; filled as far as the run got.
struct RulexPlan {
  std::string tempProject;
  std::string listFile;
  std::string options;  // argument text for launchRulex / launchRulexUI
  std::string runDirectory;
  std::string commandFile;  // runDirectory + "/rx.dat"
  std::string logFile;      // runDirectory + "/rx.msg"
  std::string statusText;
  // The directives the control settings kept in the temporary project (the run goes on with
  // their locked values) and where tak.log explains them; "" when nothing was kept. Runners
  // show it with the progress.
  std::string lockNote;
};

enum class RulexStage {
  Verdict,             // the log gave a verdict
  ValueRefused,        // a name or path cannot be passed to the checker intact: nothing ran
  TempProjectFailed,   // the temporary project could not be copied or rewritten
  RunDirectoryFailed,  // the run directory could not be created
  CommandFileFailed,   // rx.dat (or the previous rx.msg) could not be written or removed
  Cancelled,           // the user stopped the tool: no verdict
  LogProblem,          // no usable log after the run
  ToolKilled,          // the checker was ended by a signal: whatever its log says is unsure
};

struct RulexOutcome {
  RulexStage stage = RulexStage::LogProblem;
  RulexPlan plan;
  RulexLogResult log;   // valid for Verdict and LogProblem
  std::string message;  // "View verification ... See log file for details." for Verdict
  std::string problem;  // ValueRefused: which value and why; ToolKilled: the signal
  // The log's findings, for Verdict and LogProblem (at most kMaxFindings).
  std::vector<Finding> findings;
  bool findingsTruncated = false;
};

// Runs the tool on a prepared plan and waits for its end. Implementations stream the tool's
// progress detail to their own sink.
class RulexToolRunner {
 public:
  virtual ~RulexToolRunner() = default;
  // True when the tool ended by itself, false when the user cancelled it.
  virtual bool Run(const RulexPlan& plan) = 0;
  // The signal that ended the tool of the last Run, 0 when it exited by itself.
  virtual int EndSignal() const { return 0; }
};

// The inputs every run shares: the temporary project (copied from the project file, "library"
// rewritten, and design_library/design_name when designLibrary is not empty), the options
// text and the created run directory. Returns Verdict when all is ready; ValueRefused (with
// refusal saying which value and why) before anything is written when a path or name could
// not reach the checker as one word.
RulexStage PrepareRulexInputs(const RulexRequest& request, const std::string& designLibrary,
                              const std::string& designName, RulexPlan& plan, std::string& refusal);

// The minimal checks: prepares, writes rx.dat, removes the previous rx.msg (so that a crashed
// or cancelled run never shows an earlier verdict), runs, and parses the log and its findings.
RulexOutcome RunRulexFlow(const RulexRequest& request, RulexToolRunner& runner);

// The advanced checks' inputs: prepares with only "library" rewritten and empties rx.dat.
// plan.options then carries the -lib and -cell options for the checker's own window.
RulexStage PrepareRulexWindow(const RulexRequest& request, const std::vector<std::string>& cells,
                              RulexPlan& plan, std::string& refusal);

// The texts of a run that gave no verdict, shared by the dialog and the headless verb.
inline constexpr const char* kRulexTempProjectFailed =
    "Unable to run Rules Checker as temp project file updation failed";
inline constexpr const char* kRulexReferenceTempProjectFailed =
    "Unable to run Rules Checker on reference library as temp project file updation failed";
inline constexpr const char* kRulexLogError = "Error in Rule execution, see log file";

// Why a run stopped before its verdict: tempProjectMessage for a temporary project that could
// not be written, the run directory or command file named for theirs, the value that could
// not be passed, the signal that ended the checker, kRulexLogError for a log without a
// summary; "" for a verdict or a cancelled run.
std::string RulexFailureText(const RulexOutcome& outcome, const std::string& tempProjectMessage);
