// A finding of the stand-in rules checker: which part broke which rule, and how badly.
#pragma once

#include <string>

// In a namespace of its own: the module's verification results have a Finding and a Severity
// too, and the stand-in links the module's rules-checker logic.
namespace rulexstandin {

enum class Severity { Info, Oversight, Warning, Error, Fatal };

struct Finding {
  std::string part;  // cell name, or "-" for the run as a whole
  std::string rule;
  Severity severity = Severity::Error;
  std::string text;
};

// "info", "oversight", "warning", "error", "fatal".
const char* SeverityName(Severity severity);
// The severity a rule file names; false for an unknown word.
bool ParseSeverity(const std::string& word, Severity& severity);

}  // namespace rulexstandin

using rulexstandin::Finding;
using rulexstandin::ParseSeverity;
using rulexstandin::Severity;
using rulexstandin::SeverityName;
