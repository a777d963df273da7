// Waivers on results as values: matching by rule, library, part and object with wildcards,
// expiry, stale waivers, the verdict once waived findings stop counting, the severity gate, and
// the findings that came and went between two runs.
#include <gtest/gtest.h>

#include "verify/FindingGate.h"
#include "verify/ResultOutput.h"
#include "verify/Waivers.h"
#include "verify/all/history/FindingChanges.h"

namespace {

Finding MakeFinding(std::string rule, Severity severity, std::string object) {
  Finding finding;
  finding.rule = std::move(rule);
  finding.severity = severity;
  finding.object = std::move(object);
  finding.message = finding.rule + " on " + finding.object;
  return finding;
}

VerifyResult Failed(std::string cell, std::vector<Finding> findings,
                    Verdict verdict = Verdict::Failed) {
  VerifyResult result = FlowResult("rulex", "standard", std::move(cell));
  result.verdict = verdict;
  result.message = "View verification failed.";
  result.findings = std::move(findings);
  return result;
}

std::vector<Waiver> Parse(const std::string& text) {
  std::string error;
  auto waivers = ParseWaivers(text, "w.txt", error);
  EXPECT_TRUE(waivers) << error;
  return waivers.value_or(std::vector<Waiver>{});
}

TEST(Waivers, FileLinesReadBackAndBadLinesAreNamed) {
  const auto waivers = Parse(
      "# accepted findings\n\n"
      "rule=prop_* lib=standard part=74?? object=PART_NAME author=ana date=2026-12-01 "
      "expires=2027-01-31 reason=Legacy: the name = the symbol's\n");
  ASSERT_EQ(waivers.size(), 1u);
  EXPECT_EQ(waivers[0].line, 3);
  EXPECT_EQ(waivers[0].reason, "Legacy: the name = the symbol's");
  std::string error;
  EXPECT_EQ(Parse(WaiverLine(waivers[0], error) + "\n")[0].rule, "prop_*");

  for (const char* bad : {"rule=r lib=l part=p author=a date=2026-12-01\n",  // no reason
                          "rule=r lib=l part=p author=a date=2026-13-01 reason=x\n",
                          "rule=r lib=l part=p color=red author=a date=2026-12-01 reason=x\n",
                          "rule=r lib=l part=p author=a date=2026-12-01 reason=\n"}) {
    EXPECT_FALSE(ParseWaivers(std::string("# one\n") + bad, "w.txt", error)) << bad;
    EXPECT_EQ(error.rfind("w.txt:2: ", 0), 0u) << error;
  }
  Waiver spaced = waivers[0];
  spaced.part = "my part";
  EXPECT_EQ(WaiverLine(spaced, error), "");
  EXPECT_TRUE(WaiverPatternMatch("*_DIP*", "7432_DIP14"));
  EXPECT_FALSE(WaiverPatternMatch("74?", "7432"));
}

TEST(Waivers, MatchingExpiryStaleAndTheVerdict) {
  std::vector<VerifyResult> results = {
      Failed("7432", {MakeFinding("prop_present", Severity::Error, "7432_DIP14"),
                      MakeFinding("origin", Severity::Warning, "sym")}),
      Failed("7400", {MakeFinding("prop_present", Severity::Error, "7400_DIP14")}),
      Failed("7404", {MakeFinding("pin_order", Severity::Error, "A")}),
      Failed("7408", {MakeFinding("origin", Severity::Warning, "sym")},
             Verdict::PassedWithWarnings)};
  const auto waivers = Parse(
      "rule=prop_present lib=stand* part=7432 object=*_DIP14 author=a date=2026-01-01 "
      "reason=legacy\n"
      "rule=prop_present lib=standard part=7400 object=OTHER author=a date=2026-01-01 reason=no\n"
      "rule=pin_order lib=standard part=7404 author=a date=2026-01-01 expires=2026-06-30 "
      "reason=until the redraw\n"
      "rule=origin lib=standard part=74* author=a date=2026-01-01 reason=off centre on purpose\n"
      "rule=gone lib=standard part=7432 author=a date=2026-01-01 reason=fixed long ago\n"
      "rule=gone lib=passives part=r1 author=a date=2026-01-01 reason=not in this run\n");
  const WaiverNotes notes = ApplyWaivers(results, waivers, "2026-12-10");

  // Error and warning waived: passed (waived), the findings still there with the reason.
  EXPECT_EQ(results[0].verdict, Verdict::Passed);
  EXPECT_TRUE(results[0].waived);
  EXPECT_EQ(ResultVerdictName(results[0]), std::string("passed (waived)"));
  ASSERT_EQ(results[0].findings.size(), 2u);
  EXPECT_NE(results[0].findings[0].waived.find("legacy (a, 2026-01-01; w.txt:1)"),
            std::string::npos);
  // Another object: still failed. Expired: still failed, and said.
  EXPECT_EQ(results[1].verdict, Verdict::Failed);
  EXPECT_EQ(results[2].verdict, Verdict::Failed);
  EXPECT_TRUE(results[2].findings[0].waived.empty());
  ASSERT_EQ(notes.expired.size(), 1u);
  EXPECT_NE(notes.expired[0].find("w.txt:3"), std::string::npos);
  EXPECT_NE(notes.expired[0].find("no longer waives"), std::string::npos);
  // Passed with warnings whose warning is waived.
  EXPECT_EQ(ResultVerdictName(results[3]), std::string("passed (waived)"));
  // Matched nothing though its part ran: stale; a library the run did not cover: not.
  ASSERT_EQ(notes.stale.size(), 2u);
  EXPECT_NE(notes.stale[0].find("w.txt:2"), std::string::npos);
  EXPECT_NE(notes.stale[1].find("w.txt:5"), std::string::npos);

  // A failure the waived findings do not explain (only a warning waived) stays failed, and
  // an unknown verdict is never waived.
  std::vector<VerifyResult> other = {
      Failed("7432", {MakeFinding("origin", Severity::Warning, "")}),
      Failed("7400", {MakeFinding("origin", Severity::Error, "")}, Verdict::Unknown)};
  ApplyWaivers(other, waivers, "2026-12-10");
  EXPECT_EQ(other[0].verdict, Verdict::Failed);
  EXPECT_EQ(other[1].verdict, Verdict::Unknown);
}

TEST(Waivers, FailOnGatesTheExitStatus) {
  const std::vector<VerifyResult> warned = {
      Failed("7404", {MakeFinding("origin", Severity::Warning, "")}, Verdict::PassedWithWarnings)};
  const std::vector<VerifyResult> failed = {
      Failed("7432", {MakeFinding("prop_present", Severity::Error, "")})};
  std::vector<VerifyResult> fatal = failed;
  fatal[0].findings.push_back(MakeFinding("crash", Severity::Fatal, ""));
  std::vector<VerifyResult> unknown = failed;
  unknown[0].verdict = Verdict::Unknown;
  FindingOptions options;
  EXPECT_EQ(GateStatus(warned, options), 3);  // the verdict's own status without -fail-on
  EXPECT_EQ(GateStatus(failed, options), 1);
  const int expected[3][4] = {// warned, failed, fatal, unknown
                              {1, 1, 1, 2},
                              {0, 1, 1, 2},
                              {0, 0, 1, 2}};
  const Severity gates[] = {Severity::Warning, Severity::Error, Severity::Fatal};
  for (int g = 0; g < 3; ++g) {
    options.failOn = gates[g];
    const int got[4] = {GateStatus(warned, options), GateStatus(failed, options),
                        GateStatus(fatal, options), GateStatus(unknown, options)};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], expected[g][i]) << g << " " << i;
  }

  std::vector<std::string> words = {"-lib",    "-fail-on",      "-fail-on",
                                    "warning", "-min-severity", "error"};
  const std::string_view valued[] = {"-lib"};
  std::string error;
  FindingOptions taken;
  ASSERT_TRUE(TakeFindingOptions(words, valued, taken, error)) << error;
  EXPECT_EQ(words, (std::vector<std::string>{"-lib", "-fail-on"}));  // a part named -fail-on
  EXPECT_EQ(taken.failOn, Severity::Warning);
  std::vector<VerifyResult> filtered = fatal;
  filtered[0].findings.push_back(MakeFinding("note", Severity::Info, ""));
  DropLesserFindings(filtered, taken);
  EXPECT_EQ(filtered[0].findings.size(), 2u);
  words = {"-fail-on", "info"};
  EXPECT_FALSE(TakeFindingOptions(words, valued, taken, error));
}

TEST(FindingChanges, NewAndFixedByRulePartAndObject) {
  const std::vector<VerifyResult> before = {
      Failed("7432", {MakeFinding("prop_present", Severity::Error, "7432_DIP14"),
                      MakeFinding("origin", Severity::Warning, "sym")}),
      Failed("7400", {MakeFinding("origin", Severity::Warning, "sym")})};
  std::vector<VerifyResult> after = {
      Failed("7432", {MakeFinding("prop_present", Severity::Error, "7432_DIP14"),
                      MakeFinding("pin_order", Severity::Error, "A")}),
      Failed("7486", {MakeFinding("origin", Severity::Warning, "sym")})};  // a new part
  const auto changes = FindingChangesSince(before, after);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_FALSE(changes[0].fixed);
  EXPECT_EQ(FindingChangeText(changes[0]),
            "new finding: standard/7432 rulex: pin_order A: pin_order on A");
  EXPECT_TRUE(changes[1].fixed);
  EXPECT_EQ(changes[1].finding.rule, "origin");
  EXPECT_EQ(changes[1].part, "7432");
}

}  // namespace
