// Reading a tool's report into findings. Every report may carry findings in the documented
// form (docs/findings.md), one a line:
//   FINDING<tab>severity<tab>rule<tab>part<tab>object<tab>message
// and each flow reads its tool's own lines besides, as it always has. A line that looks like
// a finding but cannot be read becomes a finding of rule kUnreadableLineRule with the line as
// its message. Standard C++ only; any thread.
#pragma once

#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "verify/Finding.h"

// What a flow makes of one line of its tool's report.
enum class ReportLine { Other, Finding, Unreadable };
// Reads one line (without its line end) in the tool's own form; fills finding for Finding.
using ReportLineReader = std::function<ReportLine(std::string_view line, Finding& finding)>;

// Lines longer than this are read as their first this many bytes; the rest is passed over.
inline constexpr std::size_t kMaxReportLine = 4096;

// The documented form of one line: Finding with finding filled, Unreadable for a "FINDING"
// line with too few fields or an unknown severity, Other for any other line.
ReportLine ReadDocumentedLine(std::string_view line, Finding& finding);

// Appends the findings of file to findings (at most kMaxFindings, truncated set beyond). Each
// finding without a part gets part; each says file and line. When the report carries any
// line in the documented form, the tool's own lines are not read (a tool writing both forms
// is counted once). A missing or non-regular file adds nothing. Returns false when it
// could not be read.
bool ReadReportFindings(const std::string& file, const std::string& part,
                        const ReportLineReader& ownLines, std::vector<Finding>& findings,
                        bool& truncated);

// The same from a report opened already as in (file names it in the findings).
bool ReadReportFindings(std::istream& in, const std::string& file, const std::string& part,
                        const ReportLineReader& ownLines, std::vector<Finding>& findings,
                        bool& truncated);

// The finding for a line that cannot be read: rule kUnreadableLineRule, the line as message.
Finding UnreadableLine(std::string_view line, Severity severity = Severity::Warning);
