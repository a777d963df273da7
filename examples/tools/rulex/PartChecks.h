// The five minimal checks on one part (cell) of a library in the documented part format.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "RuleFile.h"
#include "RulexFinding.h"

// Checks the cell in cellDirectory whose view directories are `views`, for the rules named
// in `selected` (rule names as in rx.dat); severities come from `rules`. Views a selected rule
// needs but the part lacks are oversights; what the view readers report are warnings.
std::vector<Finding> CheckPart(const std::string& cell, const std::string& cellDirectory,
                               const std::vector<std::string>& views,
                               const std::set<std::string>& selected, const RuleSet& rules);
