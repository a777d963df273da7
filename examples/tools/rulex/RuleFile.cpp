#include "RuleFile.h"

#include <fstream>
#include <sstream>

namespace rulexstandin {

const char* SeverityName(Severity severity) {
  static const char* const names[] = {"info", "oversight", "warning", "error", "fatal"};
  return names[static_cast<int>(severity)];
}

bool ParseSeverity(const std::string& word, Severity& severity) {
  for (int i = 0; i <= static_cast<int>(Severity::Fatal); ++i) {
    if (word == SeverityName(static_cast<Severity>(i))) {
      severity = static_cast<Severity>(i);
      return true;
    }
  }
  return false;
}

}  // namespace rulexstandin

namespace {
bool IsComment(const std::string& line) {
  const auto first = line.find_first_not_of(" \t\r");
  return first == std::string::npos || line[first] == '#';
}
}  // namespace

RuleSet ReadRuleFile(const std::string& path) {
  RuleSet rules;
  std::ifstream in(path);
  if (!in) {
    rules.error = "cannot read rule file " + path;
    return rules;
  }
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (IsComment(line)) continue;
    std::istringstream words(line);
    std::string keyword, name, severityWord;
    Severity severity{};
    words >> keyword >> name >> severityWord;
    if (keyword != "rule" || name.empty() || !ParseSeverity(severityWord, severity)) {
      rules.error = path + ":" + std::to_string(number) + ": expected \"rule NAME SEVERITY ...\"";
      return rules;
    }
    rules.severity[name] = severity;
  }
  return rules;
}

std::string CheckPrecompiledBody(const std::string& path) {
  std::ifstream in(path);
  if (!in) return "cannot read precompiled body file " + path;
  for (std::string line; std::getline(in, line);) {
    if (IsComment(line)) continue;
    if (line.rfind("rulex-precompiled 1", 0) == 0) return "";
    break;
  }
  return path + " is not a precompiled body file of version 1";
}
