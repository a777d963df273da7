// The verb table the host reads and the headless library's runners: every verb the host offers
// has a runner there, and a command line finds the verb its first words name.
#include <gtest/gtest.h>

#include <set>

#include "cmdline/HeadlessRunners.h"
#include "cmdline/VerbTable.h"

TEST(VerbTable, EveryVerbHasARunnerAndTheLongestNameWins) {
  std::set<std::string_view> names;
  for (const VerbEntry& verb : VerbTable()) {
    EXPECT_TRUE(names.insert(verb.name).second) << verb.name << " twice";
    EXPECT_NE(HeadlessVerbRunner(verb.name), nullptr) << verb.name;
    EXPECT_EQ(verb.usage.substr(0, verb.name.size()), verb.name) << verb.usage;
  }
  EXPECT_EQ(HeadlessVerbRunner("nosuch"), nullptr);

  using Words = std::vector<std::string>;
  const auto found = [](const Words& words) {
    const VerbEntry* verb = FindVerb(words);
    return verb != nullptr ? std::string(verb->name) : std::string("(none)");
  };
  EXPECT_EQ(found({"verify", "all", "-proj", "p.tak"}), "verify all");
  EXPECT_EQ(found({"verify", "rulex", "-proj", "p.tak"}), "verify");
  EXPECT_EQ(found({"verify"}), "verify");
  EXPECT_EQ(found({"all"}), "(none)");
  EXPECT_EQ(found({"Libs"}), "(none)") << "verbs are matched as typed";
  EXPECT_EQ(found({}), "(none)");
  EXPECT_EQ(VerbWordCount(*FindVerb({"verify", "all"})), 2u);
  EXPECT_EQ(VerbFirstWords(),
            (Words{"libs", "footprints", "template", "import", "verify", "report", "waive"}));
}
