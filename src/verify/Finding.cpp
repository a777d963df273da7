#include "verify/Finding.h"

#include <cctype>

const char* SeverityName(Severity severity) {
  switch (severity) {
    case Severity::Info:
      return "info";
    case Severity::Warning:
      return "warning";
    case Severity::Error:
      return "error";
    case Severity::Fatal:
      break;
  }
  return "fatal";
}

std::optional<Severity> SeverityOfWord(std::string_view word) {
  std::string lower(word);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "info") return Severity::Info;
  if (lower == "warning" || lower == "oversight") return Severity::Warning;
  if (lower == "error") return Severity::Error;
  if (lower == "fatal") return Severity::Fatal;
  return std::nullopt;
}

void AddFinding(std::vector<Finding>& findings, bool& truncated, Finding finding) {
  if (findings.size() >= kMaxFindings) {
    truncated = true;
    return;
  }
  findings.push_back(std::move(finding));
}

std::string FindingText(const Finding& finding) {
  return finding.rule + (finding.object.empty() ? "" : " " + finding.object) + ": " +
         finding.message;
}
