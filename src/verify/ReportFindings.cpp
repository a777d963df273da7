#include "verify/ReportFindings.h"

#include <filesystem>
#include <fstream>

namespace {

constexpr std::string_view kDocumentedTag = "FINDING\t";

// Reads the next line into line, keeping at most kMaxReportLine bytes of it; false at the end.
bool ReadBoundedLine(std::istream& in, std::string& line) {
  line.clear();
  if (in.peek() == std::char_traits<char>::eof()) return false;
  char c = 0;
  while (in.get(c) && c != '\n') {
    if (line.size() < kMaxReportLine) line.push_back(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::vector<std::string_view> TabFields(std::string_view text, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const std::size_t tab = text.find('\t');
    if (tab == std::string_view::npos) break;
    fields.push_back(text.substr(0, tab));
    text.remove_prefix(tab + 1);
  }
  fields.push_back(text);  // the last field keeps its tabs
  return fields;
}

}  // namespace

Finding UnreadableLine(std::string_view line, Severity severity) {
  Finding finding;
  finding.rule = kUnreadableLineRule;
  finding.severity = severity;
  finding.message = std::string(line);
  return finding;
}

ReportLine ReadDocumentedLine(std::string_view line, Finding& finding) {
  if (!line.starts_with(kDocumentedTag)) return ReportLine::Other;
  const auto fields = TabFields(line.substr(kDocumentedTag.size()), 5);
  const auto severity = fields.size() == 5 ? SeverityOfWord(fields[0]) : std::nullopt;
  if (!severity || fields[1].empty()) return ReportLine::Unreadable;
  finding.severity = *severity;
  finding.rule = std::string(fields[1]);
  finding.part = fields[2] == "-" ? "" : std::string(fields[2]);
  finding.object = fields[3] == "-" ? "" : std::string(fields[3]);
  finding.message = std::string(fields[4]);
  return ReportLine::Finding;
}

bool ReadReportFindings(const std::string& file, const std::string& part,
                        const ReportLineReader& ownLines, std::vector<Finding>& findings,
                        bool& truncated) {
  // Only a regular file is read: a pipe planted as a report would never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  return ReadReportFindings(in, file, part, ownLines, findings, truncated);
}

bool ReadReportFindings(std::istream& in, const std::string& file, const std::string& part,
                        const ReportLineReader& ownLines, std::vector<Finding>& findings,
                        bool& truncated) {
  std::vector<Finding> documented;
  std::vector<Finding> own;
  bool documentedTruncated = false;
  bool ownTruncated = false;
  bool anyDocumented = false;
  std::string line;
  for (long number = 1; ReadBoundedLine(in, line); ++number) {
    Finding finding;
    ReportLine kind = ReadDocumentedLine(line, finding);
    const bool isDocumented = kind != ReportLine::Other;
    anyDocumented = anyDocumented || isDocumented;
    if (!isDocumented && !anyDocumented && ownLines) kind = ownLines(line, finding);
    if (kind == ReportLine::Other) continue;
    if (kind == ReportLine::Unreadable) finding = UnreadableLine(line, finding.severity);
    if (finding.part.empty()) finding.part = part;
    finding.file = file;
    finding.line = number;
    if (isDocumented) {
      AddFinding(documented, documentedTruncated, std::move(finding));
    } else {
      AddFinding(own, ownTruncated, std::move(finding));
    }
  }
  std::vector<Finding>& chosen = anyDocumented ? documented : own;
  truncated = truncated || (anyDocumented ? documentedTruncated : ownTruncated);
  for (Finding& finding : chosen) AddFinding(findings, truncated, std::move(finding));
  return !in.bad();
}
