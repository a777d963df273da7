// One thing a verification found, as a value: which rule, how bad, on which part and object,
// what the tool said and where it said it. Flows read their tools' reports into findings; the
// outputs turn them into text only at the end. Standard C++ only; value types, any thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class Severity { Info, Warning, Error, Fatal };

struct Finding {
  std::string rule;  // a stable identifier: "prop_present", "pin_missing_in_wrapper", "status"
  Severity severity = Severity::Error;
  std::string part;     // the cell, or "" for the run as a whole
  std::string object;   // the pin, property, view or file it is about, when there is one
  std::string message;  // what the tool said, as it said it
  std::string file;     // the report it came from ("" when the flow made it itself)
  long line = 0;        // its line in that report (1 for the first), 0 when none
  // The waiver that accepted it ("reason (author, date; file:line)"), "" when it counts. A
  // waived finding is still shown, but does not count toward the verdict.
  std::string waived;

  bool operator==(const Finding&) const = default;
};

// A report that goes on for ever must not exhaust memory: a result keeps at most this many
// findings and says that it dropped the rest.
inline constexpr std::size_t kMaxFindings = 10000;

// The rule of a report line that could not be read as a finding: the line is kept as its
// message, never dropped.
inline constexpr const char* kUnreadableLineRule = "unreadable_report_line";

// "info", "warning", "error", "fatal".
const char* SeverityName(Severity severity);

// The severity a word names, in any case; "oversight" is a warning. No value for other words.
std::optional<Severity> SeverityOfWord(std::string_view word);

// Appends finding unless findings holds kMaxFindings already; then sets truncated instead.
void AddFinding(std::vector<Finding>& findings, bool& truncated, Finding finding);

// "rule object: message" (object and its blank left out when empty): a finding as one line.
std::string FindingText(const Finding& finding);
