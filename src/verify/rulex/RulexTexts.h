// Every text the rules-checker flow shows or prints that is not read from the checker's log,
// composed once for the dialog and the headless verb. Standard C++ only; any thread.
#pragma once

#include <string>

struct RulexPlan;

inline constexpr const char* kRulexNoRulesSelected = "No Rules Selected";
inline constexpr const char* kRulexNoLibrarySelected = "Select a cell/library for verification";
inline constexpr const char* kRulexTempProjectFailed =
    "Unable to run Rules Checker as temp project file updation failed";
inline constexpr const char* kRulexReferenceTempProjectFailed =
    "Unable to run Rules Checker on reference library as temp project file updation failed";
inline constexpr const char* kRulexLogError = "Error in Rule execution, see log file";

// "Library : <library>", followed by ", Part : <cell>" when cell is not empty: the progress
// dialog's status line.
std::string RulexStatusText(const std::string& library, const std::string& cell);

// "View verification " + verdict text + " See log file for details."
std::string RulexResultMessage(const std::string& verdictText);

// Why value (what names it: "the cell name") cannot be passed to the checker.
std::string RulexRefusedValueText(const std::string& what, const std::string& value,
                                  const std::string& why);

// Why a run stopped before its verdict: tempProjectMessage for a temporary project that could
// not be written, the run directory or command file named for theirs, the value that could
// not be passed, the signal that ended the checker, kRulexLogError for a log without a
// summary; "" for a verdict or a cancelled run.
std::string RulexFailureText(const RulexPlan& plan, const std::string& tempProjectMessage);
