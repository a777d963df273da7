// Reading what cellsim leaves in the scratch directory: the final status, the verdict text in
// the flow's two wordings, and the error logs appended to the summary report. Standard C++
// only; any thread (nothing here moves the current directory).
#pragma once

#include <string>
#include <vector>

#include "verify/Finding.h"
#include "verify/Verdict.h"

// The final status report: 0 passed, 1 failed (missing, empty, unreadable or without
// "PASSED"), 2 status unknown (its status cannot be read, or it is not a file), 3 passed with
// warnings. The report is searched in upper-cased pieces of at most 79 characters.
int ReadFinalStatus(const std::string& path);

// The status as the shared verdict.
Verdict CellsimVerdictOf(int status);

// "Simulation checks ..." or, after Stop On Netlist, "Verification checks ...".
std::string CellsimVerdictMessage(int status, bool stopOnNetlist);
// True for the two plain PASSED texts, whose log is the final status report.
bool IsPlainPassMessage(const std::string& message);

struct ErrorLogAppend {
  bool opened = false;                  // the summary report could be opened for appending
  int filesCopied = 0;                  // error logs copied into it
  std::vector<std::string> unreadable;  // error logs that matched but could not be read
};

// Appends the sim_error_log (of library), wrapper_error_log and map_error_log sections to the
// summary report: each a fixed header, then every "*.log" file of its folder in name order,
// copied with each line feed written as carriage return and line feed. A log that cannot be
// read is named in its section and the rest goes on. Streams: memory stays bounded whatever
// the logs' size.
ErrorLogAppend AppendErrorLogs(const std::string& summaryPath, const std::string& library);

// What a run's reports say, read as the dialog reads them.
struct CellsimOutcome {
  int status = 1;
  std::string message;
  std::string logFile;  // the final status report after a plain pass, else the summary
  ErrorLogAppend logs;
};

CellsimOutcome ReadCellsimOutcome(const std::string& projectDir, const std::string& library,
                                  bool stopOnNetlist);

// A cellsim that was ended by a signal may have written passing reports before it died: the
// status is unknown, and the message says which signal ended it.
void MarkCellsimEndedBySignal(CellsimOutcome& outcome, int signal, bool stopOnNetlist);

// The findings of a run: the summary report's lines up to the appended error logs (a part
// whose netlist or simulation FAILED, rule "netlist" or "simulation"; "ERROR" and "WARNING"
// lines, rule "models"), then every line of the error logs of library, in the order they are
// appended (rules "simulation_error", "wrapper_netlist", "map_netlist";
// "pin_missing_in_wrapper" with the pin as object), then an error log that cannot be read
// (rule "unreadable_error_log"). Each line is its finding's message.
void ReadCellsimFindings(const std::string& projectDir, const std::string& library,
                         const std::vector<std::string>& unreadableLogs,
                         std::vector<Finding>& findings, bool& truncated);
