// The stand-in rules checker's own pieces: its log always satisfies the module's reader,
// its command-file reader survives blanks in the install root, and the rule files decide
// what is checked and how badly a finding counts.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "CommandFileReader.h"
#include "MessageFile.h"
#include "PartChecks.h"
#include "RuleFile.h"
#include "TempDir.h"
#include "verify/rulex/RulexCommandFile.h"
#include "verify/rulex/RulexLog.h"
#include "verify/rulex/RulexRules.h"

TEST(RulexStandIn, LogIsAlwaysReadableByTheModule) {
  TempDir dir;
  const std::string path = (dir.path() / "rx.msg").string();
  // No findings: padded to the minimum size, and the summary is the last line.
  ASSERT_TRUE(WriteMessageFile(path, ComposeMessageFile({"header"}, {})));
  const std::string empty = ReadFile(path);
  EXPECT_GE(empty.size(), kRulexLogMinimumSize);
  EXPECT_TRUE(empty.ends_with("\nTOTAL 0 0 0 0 0 0\n"));
  EXPECT_EQ(ParseRulexLog(path).text, "passed. ");

  // Many long findings: the summary still ends the file, well inside the last 256 bytes.
  std::vector<Finding> findings;
  for (int i = 0; i < 200; ++i) {
    findings.push_back(
        {"p" + std::to_string(i), "prop_present", Severity::Error, std::string(100, 'x')});
  }
  findings.push_back({"q", "origin_non_centered", Severity::Warning, "off"});
  findings.push_back({"-", "run", Severity::Fatal, "bad"});
  ASSERT_TRUE(WriteMessageFile(path, ComposeMessageFile({}, findings)));
  const RulexLogResult result = ParseRulexLog(path);
  EXPECT_EQ(result.text, "failed.  Warnings:1 Errors:200 Fatal:1");
  EXPECT_EQ(result.counts.value[RulexCounts::Total], 202);
  EXPECT_NE(ReadFile(path).find("error p7 prop_present: " + std::string(100, 'x') + "\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path + ".part"));

  EXPECT_FALSE(WriteMessageFile((dir.path() / "no" / "rx.msg").string(), "x"));
}

TEST(RulexStandIn, ReadsTheCommandFileTheModuleWrites) {
  TempDir dir;
  const std::string root = "/opt/my kestra";  // a blank in the install root
  const std::string path = (dir.path() / "rx.dat").string();
  ASSERT_TRUE(WriteRulexCommandFile(path, "my lib", "c\"1", MakeRuleList(0b10101), root));
  const CommandFileContent content = ReadCommandFile(path);
  EXPECT_EQ(content.error, "");
  EXPECT_EQ(content.target, "my lib.c\"1");
  ASSERT_EQ(content.ruleFiles.size(), 2u);
  EXPECT_EQ(content.ruleFiles[0].path, root + "/share/qvdsetup/lman/rulex/precompiled_body.rle");
  EXPECT_TRUE(content.ruleFiles[0].rules.empty());
  EXPECT_EQ(content.ruleFiles[1].path, root + "/share/qvdsetup/lman/rulex/mldrules.rle");
  EXPECT_EQ(content.ruleFiles[1].rules,
            (std::vector<std::string>{"origin_non_centered", "body_file_namechipsprt_cross_check",
                                      "body_to_physical_check", "physical_to_body_check"}));
  EXPECT_EQ(content.includeFolders, std::vector<std::string>{root + "/share/qvdsetup/lman/rulex"});

  EXPECT_NE(ReadCommandFile((dir.path() / "none").string()).error, "");
  dir.write("bad.dat", "library without quotes\n");
  EXPECT_NE(ReadCommandFile((dir.path() / "bad.dat").string()).error, "");
}

TEST(RulexStandIn, ShippedRuleFilesCoverEveryRuleOfTheDialog) {
  const std::string folder = std::string(KESTRA_SOURCE_DIR) + "/share/qvdsetup/lman/rulex/";
  EXPECT_EQ(CheckPrecompiledBody(folder + "precompiled_body.rle"), "");
  EXPECT_NE(CheckPrecompiledBody(folder + "mldrules.rle"), "");
  const RuleSet rules = ReadRuleFile(folder + "mldrules.rle");
  EXPECT_EQ(rules.error, "");
  for (const RulexRule& rule : RulexRuleTable()) {
    std::istringstream names{std::string(rule.ruleText)};
    for (std::string name; names >> name;) EXPECT_EQ(rules.severity.count(name), 1u) << name;
  }
  TempDir dir;
  dir.write("bad.rle", "rule origin_non_centered dreadful\n");
  EXPECT_NE(ReadRuleFile((dir.path() / "bad.rle").string()).error, "");
}

TEST(RulexStandIn, ChecksOnlySelectedRulesWithTheirSeverities) {
  TempDir dir;
  dir.write("cell/sym_1/symbol.sym",
            "symbol s\norigin 5 0\nextent -10 -10 10 10\npin A -10 0\npin B 10 0\n");
  dir.write("cell/package/package.pkg",
            "package p\nsymbol t\nproperty CLASS IC\nphysical P1\n  pin A 1 tristate\n"
            "  pin C 2 input\n  load A input 1\nend\n");
  RuleSet rules;
  rules.severity = {{"origin_non_centered", Severity::Warning}, {"prop_present", Severity::Error}};
  const std::string cell = (dir.path() / "cell").string();
  const std::vector<std::string> views = {"package", "sym_1"};

  const auto all = CheckPart("c", cell, views,
                             {"origin_non_centered", "Tristatepin_output_load",
                              "Tristatepin_input_load", "body_file_namechipsprt_cross_check",
                              "prop_present", "body_to_physical_check", "physical_to_body_check"},
                             rules);
  std::multiset<std::string> broken;
  for (const Finding& f : all) broken.insert(f.rule);
  EXPECT_EQ(broken, (std::multiset<std::string>{
                        "origin_non_centered", "Tristatepin_output_load",
                        "body_file_namechipsprt_cross_check", "prop_present", "prop_present",
                        "body_to_physical_check", "physical_to_body_check"}));
  for (const Finding& f : all) {
    if (f.rule == "origin_non_centered") {
      EXPECT_EQ(f.severity, Severity::Warning);
    }
    if (f.rule == "prop_present") {
      EXPECT_EQ(f.severity, Severity::Error);
    }
  }

  const auto one = CheckPart("c", cell, views, {"prop_present"}, rules);
  EXPECT_EQ(one.size(), 2u);  // PART_NAME and JEDEC_TYPE

  // Without views the rules that need them are oversights, not passes.
  const auto none = CheckPart("c", cell, {}, {"origin_non_centered", "prop_present"}, rules);
  ASSERT_EQ(none.size(), 2u);
  EXPECT_EQ(none[0].severity, Severity::Oversight);
  EXPECT_EQ(none[1].severity, Severity::Oversight);
}
