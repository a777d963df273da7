#include "verify/rulex/RulexCommandFile.h"

#include <fstream>

#include "base/ReplaceFile.h"
#include "verify/rulex/RulexRules.h"

namespace {
constexpr const char* kRuleFolder = "/share/qvdsetup/lman/rulex";
}

std::string ComposeRulexCommandFile(const std::string& library, const std::string& cell,
                                    const std::vector<int>& rules, const std::string& installRoot) {
  const std::string folder = installRoot + kRuleFolder;
  std::string text = "\"" + library + (cell.empty() ? "" : "." + cell) + "\"\n";
  text += "-r " + folder + "/precompiled_body.rle\n";
  text += "-r " + folder + "/mldrules.rle ";
  const auto& table = RulexRuleTable();
  for (std::size_t i = 0; i < rules.size() && i < table.size() && rules[i] != -1; ++i) {
    if (rules[i] != 0) text += " " + std::string(table[i].ruleText);
  }
  text += "\n-I " + folder;
  return text;
}

bool WriteRulexCommandFile(const std::string& path, const std::string& library,
                           const std::string& cell, const std::vector<int>& rules,
                           const std::string& installRoot) {
  // The same part with the same rules gives the same file: one that holds it already is
  // kept, which spares a replace (and the freeing of the old file's blocks) on every run.
  const std::string text = ComposeRulexCommandFile(library, cell, rules, installRoot);
  return FileHolds(path, text) || ReplaceFileContent(path, text);
}

bool EmptyRulexCommandFile(const std::string& path) { return ReplaceFileContent(path, ""); }
