#include "verify/rulex/RulexFindings.h"

#include <filesystem>
#include <fstream>

namespace {

// The message names the physical part first when the rule is about one ("7432_DIP14 lacks
// property PART_NAME"): that is the finding's object.
std::string ObjectOf(std::string_view message) {
  static constexpr std::string_view kLacks = " lacks ";
  const std::size_t at = message.find(kLacks);
  if (at == std::string_view::npos || message.substr(0, at).find(' ') != std::string_view::npos)
    return "";
  return std::string(message.substr(0, at));
}

}  // namespace

ReportLine ReadRulexMessageLine(std::string_view line, Finding& finding) {
  const std::size_t blank = line.find(' ');
  const auto severity = SeverityOfWord(line.substr(0, blank));
  if (!severity) return ReportLine::Other;
  finding.severity = *severity;
  if (blank == std::string_view::npos) return ReportLine::Unreadable;
  // "<part> <rule>: <message>": the rule is the last word before the first ": ", the part
  // everything before it (a part name may hold blanks).
  const std::string_view rest = line.substr(blank + 1);
  const std::size_t colon = rest.find(": ");
  if (colon == std::string_view::npos) return ReportLine::Unreadable;
  const std::string_view head = rest.substr(0, colon);
  const std::size_t lastBlank = head.rfind(' ');
  if (lastBlank == std::string_view::npos || lastBlank == 0 || lastBlank + 1 == head.size())
    return ReportLine::Unreadable;
  const std::string_view part = head.substr(0, lastBlank);
  finding.part = part == "-" ? "" : std::string(part);
  finding.rule = std::string(head.substr(lastBlank + 1));
  finding.message = std::string(rest.substr(colon + 2));
  finding.object = ObjectOf(finding.message);
  return ReportLine::Finding;
}

void ReadRulexFindings(const std::string& logPath, const std::string& cell,
                       std::vector<Finding>& findings, bool& truncated) {
  ReadReportFindings(logPath, cell, ReadRulexMessageLine, findings, truncated);
}

RulexLogResult ReadRulexLogAndFindings(const std::string& logPath, const std::string& cell,
                                       std::vector<Finding>& findings, bool& truncated) {
  // Only a regular file is read: a FIFO or a device planted as the log would hang the read.
  std::error_code error;
  std::ifstream in;
  if (std::filesystem::is_regular_file(logPath, error)) in.open(logPath, std::ios::binary);
  if (!in.is_open()) return ParseRulexLog(logPath);  // says why it cannot be read
  ReadReportFindings(in, logPath, cell, ReadRulexMessageLine, findings, truncated);
  in.clear();
  return ParseRulexLog(in);
}
