#include "verify/rulex/RulexRules.h"

const std::array<RulexRule, kRulexRuleCount>& RulexRuleTable() {
  static const std::array<RulexRule, kRulexRuleCount> table{{
      {0, 13025, "&Symbol origin is centered", "origin_non_centered", "origin"},
      {1, 13027, "&Tristated pins have Input and Output loads defined",
       "Tristatepin_output_load Tristatepin_input_load", "tristate"},
      {2, 13026, "&Consistent symbol name in symbol and package file",
       "body_file_namechipsprt_cross_check", "symbol-name"},
      {3, 13028, "&Mandatory properties present in package file", "prop_present", "properties"},
      {4, 13029, "C&onsistent symbol and package pin list",
       "body_to_physical_check physical_to_body_check", "pins"},
  }};
  return table;
}

std::vector<int> MakeRuleList(std::uint16_t selection) {
  std::vector<int> rules;
  for (const RulexRule& rule : RulexRuleTable()) rules.push_back((selection >> rule.bit) & 1);
  rules.push_back(-1);
  return rules;
}

bool AnyRuleSelected(const std::vector<int>& rules) {
  for (int flag : rules) {
    if (flag == -1) break;
    if (flag != 0) return true;
  }
  return false;
}

std::optional<std::uint16_t> ParseRuleNames(std::string_view names, std::string& unknown) {
  std::uint16_t selection = 0;
  while (true) {
    const std::size_t comma = names.find(',');
    const std::string_view word = names.substr(0, comma);
    bool known = false;
    for (const RulexRule& rule : RulexRuleTable()) {
      if (word == rule.name) {
        selection |= static_cast<std::uint16_t>(1u << rule.bit);
        known = true;
      }
    }
    if (!known) {
      unknown = std::string(word);
      return std::nullopt;
    }
    if (comma == std::string_view::npos) return selection;
    names.remove_prefix(comma + 1);
  }
}
