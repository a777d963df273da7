// The findings of a rules-checker log rx.msg: its message lines, one a finding,
//   <severity> <part> <rule>: <message>
// (severity info, oversight, warning, error or fatal; part "-" for the run as a whole), and
// lines in the documented form. A line that starts with a severity word but is not a message
// line becomes an unreadable-line finding. Standard C++ only; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "verify/ReportFindings.h"
#include "verify/rulex/RulexLog.h"

// One line of rx.msg in the checker's own form.
ReportLine ReadRulexMessageLine(std::string_view line, Finding& finding);

// Appends the findings of the log at logPath; each without a part gets cell.
void ReadRulexFindings(const std::string& logPath, const std::string& cell,
                       std::vector<Finding>& findings, bool& truncated);

// The log's summary (as ParseRulexLog reads it) and its findings (as ReadRulexFindings), from
// one open of the log.
RulexLogResult ReadRulexLogAndFindings(const std::string& logPath, const std::string& cell,
                                       std::vector<Finding>& findings, bool& truncated);
