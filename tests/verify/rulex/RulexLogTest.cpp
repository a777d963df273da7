// The verdict from the "TOTAL" line at the end of the rules checker's log rx.msg.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempDir.h"
#include "verify/rulex/RulexLog.h"
#include "verify/rulex/RulexTexts.h"

namespace {

// A log of exactly `size` bytes that ends with `ending` (padding lines come first).
std::string LogOfSize(std::size_t size, const std::string& ending) {
  std::string log;
  while (log.size() + ending.size() < size) log += log.size() % 64 == 63 ? '\n' : '.';
  return log + ending;
}

std::string LogEnding(const std::string& counts) { return "TOTAL " + counts + "\n"; }

RulexLogResult Parse(const std::string& counts) {
  return ParseRulexLogText(LogOfSize(600, LogEnding(counts)));
}

}  // namespace

TEST(RulexLog, SizeAndPositionOfTheSummary) {
  const std::string ending = LogEnding("0 0 0 0 0 0");
  EXPECT_TRUE(ParseRulexLogText(LogOfSize(511, ending)).problem);
  EXPECT_FALSE(ParseRulexLogText(LogOfSize(512, ending)).problem);

  // "TOTAL " starting exactly 256 bytes before the end is found, one byte further back not.
  const std::string line = "TOTAL 0 0 0 0 0 0";
  EXPECT_FALSE(
      ParseRulexLogText(LogOfSize(600, line + std::string(256 - line.size(), ' '))).problem);
  const RulexLogResult far =
      ParseRulexLogText(LogOfSize(600, line + std::string(257 - line.size(), ' ')));
  EXPECT_TRUE(far.problem);
  EXPECT_EQ(far.text, "failed. Reason:Log file did not get generated correctly ");
  EXPECT_EQ(far.verdict, Verdict::Unknown);

  // "TOTAL" without its blank is no summary.
  EXPECT_TRUE(ParseRulexLogText(LogOfSize(600, "TOTAL\t0 0 0 0 0 0\n")).problem);
  // Only the first summary in the tail counts.
  const RulexLogResult first =
      ParseRulexLogText(LogOfSize(600, LogEnding("0 0 0 1 0 1") + LogEnding("0 0 0 0 0 0")));
  EXPECT_EQ(first.verdict, Verdict::Failed);
}

TEST(RulexLog, CountsAreReadAsTheirLeadingDigits) {
  // A punctuated count is read by its digits: the verdict with its counts, not a log problem.
  const RulexLogResult comma = Parse("0 0 2 1 0 3,");
  EXPECT_FALSE(comma.problem);
  EXPECT_EQ(comma.verdict, Verdict::Failed);
  EXPECT_EQ(comma.text, "failed.  Warnings:2 Errors:1");
  EXPECT_EQ(comma.counts.value[RulexCounts::Total], 3);

  EXPECT_EQ(Parse("0 0 0 2e 0 2").text, "failed.  Errors:2e") << "the log's own characters";
  EXPECT_EQ(Parse("0 0 x 0 0 0").verdict, Verdict::Passed) << "no digits read as 0";
  EXPECT_EQ(Parse("0 0 0 -1 0 1").verdict, Verdict::Failed) << "a sign is read as atoi does";
  // Fewer than six counts: the missing ones are 0.
  EXPECT_EQ(Parse("").text, "passed. ");
  const RulexLogResult five = Parse("1 2 3 4 5");
  EXPECT_FALSE(five.problem);
  EXPECT_EQ(five.verdict, Verdict::Failed);
  EXPECT_EQ(five.counts.value[RulexCounts::Total], 0);
  // A count too large for any number stays large instead of wrapping round to 0 or below.
  EXPECT_GT(Parse("0 0 0 99999999999999999999 0 1").counts.value[RulexCounts::Errors], 0);
  // A NUL byte ends the text that is searched: the counts after it are missing.
  EXPECT_EQ(ParseRulexLogText(LogOfSize(600, std::string("TOTAL 0 0\0 0 1 0 1\n", 20))).verdict,
            Verdict::Passed);
  // Runs of blanks and the line end after the total are separators, not fields.
  EXPECT_EQ(Parse("0  0 0 1\t0 1\r").verdict, Verdict::Failed);
}

TEST(RulexLog, VerdictTexts) {
  const RulexLogResult clean = Parse("0 0 0 0 0 0");
  EXPECT_EQ(clean.text, "passed. ");
  EXPECT_EQ(clean.verdict, Verdict::Passed);
  EXPECT_EQ(RulexResultMessage(clean.text), "View verification passed.  See log file for details.");

  const RulexLogResult failed = Parse("0 0 2 1 0 3");
  EXPECT_EQ(failed.text, "failed.  Warnings:2 Errors:1");
  EXPECT_EQ(failed.verdict, Verdict::Failed);
  EXPECT_EQ(failed.counts.value[RulexCounts::Total], 3);

  EXPECT_EQ(Parse("4 1 0 0 0 5").text, "passed.   Info:4 Oversight:1");
  EXPECT_EQ(Parse("4 1 0 0 0 5").verdict, Verdict::Passed);

  const RulexLogResult warnings = Parse("0 0 3 0 0 3");
  EXPECT_EQ(warnings.text, "passed.  Warnings:3");
  EXPECT_EQ(warnings.verdict, Verdict::PassedWithWarnings);

  const RulexLogResult fatal = Parse("0 0 0 0 02 2");
  EXPECT_EQ(fatal.text, "failed.  Fatal:02") << "the log's own characters are quoted";
  EXPECT_EQ(fatal.verdict, Verdict::Failed);

  // Errors beside a zero total: the log contradicts itself; the errors still fail the run.
  EXPECT_EQ(Parse("0 0 0 1 0 0").verdict, Verdict::Failed);
  EXPECT_EQ(Parse("0 0 0 1 0 0").text, "failed.  Errors:1");
}

TEST(RulexLog, ReadsOnlyTheEndOfARealFile) {
  TempDir dir;
  EXPECT_EQ(ParseRulexLog((dir.path() / "rx.msg").string()).text,
            "failed. Reason:Unable to open log file");
  const auto big = dir.write("big.msg", LogOfSize(3 << 20, LogEnding("1 0 0 0 0 1")));
  const RulexLogResult result = ParseRulexLog(big.string());
  EXPECT_FALSE(result.problem);
  EXPECT_EQ(result.text, "passed.  Info:1");
  const auto small = dir.write("small.msg", LogEnding("0 0 0 0 0 0"));
  EXPECT_TRUE(ParseRulexLog(small.string()).problem);
  EXPECT_TRUE(ParseRulexLog(dir.str()).problem) << "a directory is no log";
  // A FIFO or a device as the log is refused without hanging or reading without end.
  const std::string fifo = dir.str() + "/fifo.msg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ParseRulexLog(fifo).text, "failed. Reason:Unable to open log file");
  EXPECT_TRUE(ParseRulexLog("/dev/zero").problem);
}
