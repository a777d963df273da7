// What a packaging run leaves behind and how it reads: the tool's scratch directory with
// "status.rep" and "ftb.rep", the per-part copies in "temp", the verdict and its message,
// and the consistency check's summary next to the project file. Standard C++ only; any
// thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "verify/ReportFindings.h"
#include "verify/Verdict.h"

// The scratch directory of the packaging tool below a project directory (ending in its
// separator); the headless verb's parallel runs use "temp_ftb_test_N".
inline constexpr const char* kPackagerScratch = "temp_ftb_test";
inline constexpr const char* kStatusReport = "status.rep";
inline constexpr const char* kLogReport = "ftb.rep";

// Removes directory with its contents and creates it anew; false when it cannot be created.
bool RemakeDirectory(const std::string& directory);

// The verdict of a run from scratch + "/status.rep" and scratch + "/ftb.rep": failed when the
// status is missing, empty, unreadable or has no "PASSED" in a piece of a line; unknown when
// its size cannot be read; passed with warnings when the log has "WARNING" or "ERROR".
Verdict PackagerVerdict(const std::string& scratch);

// The message of a packager verdict.
std::string PackagerVerdictMessage(Verdict verdict);

// Copies scratch's ftb.rep and status.rep to projectDir + "temp/" + part + ".log" and ".stat",
// each when it exists, creating "temp" when needed; a link at a copy's place is replaced,
// never written through.
void CopyPartReports(const std::string& scratch, const std::string& projectDir,
                     const std::string& part);

// The consistency check's files: the project file with ".tak" replaced by ".sum" or ".log"
// (the ending added when the name has no ".tak").
std::string ConsistencyFile(const std::string& projectFile, const char* ending);

inline constexpr const char* kUnknownPackagingStatus =
    "Unable to determine pass/fail status of Instantiation and Packaging checks";

// The message of a run whose tool (cellpack or tes2tes) was ended by a signal: whatever its
// reports say, its status is unknown.
std::string PackagingEndedBySignalText(const std::string& tool, int signal);

// The summary the consistency check wrote, line feeds made blanks; kUnknownPackagingStatus
// when the file is missing, empty or unreadable.
std::string ConsistencySummary(const std::string& projectFile);

// The verdict a summary states: unknown for kUnknownPackagingStatus or a summary without a
// keyword; failed for "FAILED"; passed with warnings for "WARNING"; passed for "PASSED".
Verdict ConsistencyVerdict(const std::string& summary);

// One line of the packaging tool's log (ftb.rep) in its own form: "ERROR: part P: text" and
// "WARNING: part P: text" (the part left out for the run as a whole) give a finding of rule
// "packaging"; an "ERROR:" or "WARNING:" that says nothing is an unreadable line.
ReportLine ReadPackagerLogLine(std::string_view line, Finding& finding);

// The findings of a packager run on part ("" or several parts for a run of the library or of
// several parts): those of its log; then, when verdict is failed or unknown and the log gave
// no error, one of rule "status" about the status report, so that a failure never comes
// without a finding.
void ReadPackagerFindings(const std::string& statusFile, const std::string& logFile,
                          const std::string& part, Verdict verdict, std::vector<Finding>& findings,
                          bool& truncated);

// The consistency check's finding: rule "consistency", the summary as message; none when the
// summary says passed.
std::vector<Finding> ConsistencyFindings(const std::string& projectFile, const std::string& summary,
                                         Verdict verdict);
