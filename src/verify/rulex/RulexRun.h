// One rules-checker run from request to result, shared by the dialog and the headless verb:
// RunRulex composes the inputs (temporary project, run directory, command file), hands the
// checker's start to a ToolRunner (the dialog's shows the progress dialog, the console's
// writes progress to standard error), then reads the log into a verdict, its counts and its
// findings. Standard C++ only; UI thread.
#pragma once

#include <string>
#include <vector>

#include "verify/ToolRunner.h"
#include "verify/VerifyResult.h"
#include "verify/rulex/RulexLog.h"

struct RulexRequest {
  std::string projectFile;
  std::string projectDir;  // ends in its separator
  std::string projectName;
  std::string selectedLibrary;                 // the library as the user named it (the results')
  std::string library;                         // on-disk (mapped) name of the library to check
  std::string cell;                            // the one cell to check, or "" for the whole library
  std::vector<std::string> selectedLibraries;  // mapped names for the "library" directive
  bool referenceLibrary = false;               // the library is a reference library
  std::vector<int> rules;                      // MakeRuleList form
  std::string installRoot;                     // qvdGetInstPath(nullptr)
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

// What a run composed and how far it got; filled as far as the run got.
struct RulexPlan {
  RulexStage stage = RulexStage::LogProblem;
  std::string problem;  // ValueRefused: which value and why; ToolKilled: the signal
  std::string tempProject;
  std::string listFile;
  std::string options;  // argument text for launchRulex / launchRulexUI
  std::string runDirectory;
  std::string commandFile;  // runDirectory + "/rx.dat"
  std::string logFile;      // runDirectory + "/rx.msg"
  // The directives the control settings kept in the temporary project (the run goes on with
  // their locked values) and where tak.log explains them; "" when nothing was kept. It goes
  // with the checker's start as its note.
  std::string lockNote;
  ToolStart start;     // the checker's start, once composed
  RulexLogResult log;  // read after the run (Verdict, LogProblem)
};

// The minimal checks: prepares, writes rx.dat, removes the previous rx.msg (so that a crashed
// or cancelled run never shows an earlier verdict), runs the checker, and reads the log: one
// result with the six counts, the verdict and the log's findings. A run that gives no verdict
// gives a result whose message and cause say why (RulexFailureText); a cancelled one none.
std::vector<VerifyResult> RunRulex(const RulexRequest& request, ToolRunner& runner,
                                   RulexPlan& plan);

// The inputs every run shares: the temporary project (copied from the project file, "library"
// rewritten, and design_library/design_name when designLibrary is not empty), the options
// text and the created run directory. Sets and returns plan.stage: Verdict when all is ready;
// ValueRefused (plan.problem saying which value and why) before anything is written when a
// path or name could not reach the checker as one word.
RulexStage PrepareRulexInputs(const RulexRequest& request, const std::string& designLibrary,
                              const std::string& designName, RulexPlan& plan);

// The advanced checks' inputs: prepares with only "library" rewritten and empties rx.dat.
// plan.options then carries the -lib and -cell options for the checker's own window.
RulexStage PrepareRulexWindow(const RulexRequest& request, const std::vector<std::string>& cells,
                              RulexPlan& plan);
