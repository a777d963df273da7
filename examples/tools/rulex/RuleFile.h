// The rule files of the stand-in rules checker (share/qvdsetup/lman/rulex).
#pragma once

#include <map>
#include <string>

#include "RulexFinding.h"

struct RuleSet {
  std::map<std::string, Severity> severity;  // rule name -> severity of its findings
  std::string error;                         // why the file could not be used ("" if fine)
};

// Reads "rule NAME SEVERITY DESCRIPTION" lines; '#' lines are comments.
RuleSet ReadRuleFile(const std::string& path);
// "" when path is a precompiled-body file of version 1, else why not.
std::string CheckPrecompiledBody(const std::string& path);
