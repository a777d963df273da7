// The rules checker's command file rx.dat. Standard C++ only; any thread.
#pragma once

#include <string>
#include <vector>

// The text of rx.dat: the quoted library (or "library.cell" when cell is not empty), the
// precompiled-body rule file, the rule file followed by the selected rule texts, and the
// include folder, each under installRoot; lines end with "\n", the last has none. `rules`
// is a rule list as MakeRuleList gives it (five flags closed by -1).
std::string ComposeRulexCommandFile(const std::string& library, const std::string& cell,
                                    const std::vector<int>& rules, const std::string& installRoot);

// Writes the composed text to path, replacing the file. False when the file cannot be
// written completely, so that the caller does not run the tool on a stale command file.
bool WriteRulexCommandFile(const std::string& path, const std::string& library,
                           const std::string& cell, const std::vector<int>& rules,
                           const std::string& installRoot);

// Creates or truncates path to an empty file (before the checker's own window starts).
bool EmptyRulexCommandFile(const std::string& path);
