// The five minimal checks of the rules checker: their bits, check boxes, captions, the rule
// texts written into the command file and the short names the command line accepts.
// Standard C++ only; constant data, any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RulexRule {
  int bit;                    // bit of the rule selection word
  int controlId;              // check box of dialog 13006
  std::string_view caption;   // check-box caption with its mnemonic
  std::string_view ruleText;  // written into rx.dat (may hold two rule names)
  std::string_view name;      // short name for `kestra verify rulex -rules`
};

inline constexpr std::size_t kRulexRuleCount = 5;
inline constexpr std::uint16_t kAllRulexRules = 0x1F;

// In bit order, which is also the order the rule texts are written in.
const std::array<RulexRule, kRulexRuleCount>& RulexRuleTable();

// The selection as the batch run takes it: one 1 or 0 per rule in bit order, closed by -1.
std::vector<int> MakeRuleList(std::uint16_t selection);
// True when the list selects at least one rule before its -1.
bool AnyRuleSelected(const std::vector<int>& rules);

// Parses "origin,pins" (short names, comma-separated, case-sensitive) into a selection word.
// Returns none and names the first unknown word in `unknown` when a name is not a rule.
std::optional<std::uint16_t> ParseRuleNames(std::string_view names, std::string& unknown);
