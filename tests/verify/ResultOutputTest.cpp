// The shared outputs of kestra verify for runs of several parts, and names no reader expects.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "TempDir.h"
#include "verify/ResultOutput.h"

namespace {

VerifyResult Part(const std::string& cell, Verdict verdict, const std::string& message) {
  VerifyResult result;
  result.flow = "packaging";
  result.library = "standard";
  result.cell = cell;
  result.verdict = verdict;
  result.message = message;
  result.log = "/p/temp/" + cell + ".log";
  return result;
}

TEST(ResultOutput, SeveralPartsGoUnderPartsWithTheWorstVerdict) {
  std::vector<VerifyResult> parts = {Part("7400", Verdict::Passed, "ok"),
                                     Part("7404", Verdict::PassedWithWarnings, "warned"),
                                     Part("7432", Verdict::Failed, "bad")};
  EXPECT_EQ(WorstVerdict(parts), Verdict::Failed);
  std::ostringstream json;
  WriteResultsJson(parts, json);
  const auto read = nlohmann::json::parse(json.str());
  EXPECT_EQ(read["verdict"], "failed");
  ASSERT_EQ(read["parts"].size(), 3u);
  EXPECT_EQ(read["parts"][1]["verdict"], "passed with warnings");
  EXPECT_EQ(read["parts"][2]["log"], "/p/temp/7432.log");

  parts.push_back(Part("7486", Verdict::Unknown, "no report"));
  parts.back().cause = parts.back().message;
  EXPECT_EQ(WorstVerdict(parts), Verdict::Unknown) << "a part nobody checked is the worst";
  EXPECT_EQ(ExitStatusOf(WorstVerdict({parts[0], parts[1]})), 3);
  std::ostringstream text;
  WriteResultsText(parts, text);
  EXPECT_EQ(text.str(), "7400: ok\n7404: warned\n7432: bad\n") << "the cause goes to stderr";
}

TEST(ResultOutput, StrangeNamesCannotBreakReadersOrTheTerminal) {
  const std::string name = "a\xff\x1b[31m<&\">";
  std::vector<VerifyResult> one = {Part(name, Verdict::Failed, "failed " + name)};
  std::ostringstream json, text;
  WriteResultsJson(one, json);
  EXPECT_EQ(nlohmann::json::parse(json.str())["cell"], "a\xEF\xBF\xBD\x1b[31m<&\">");
  WriteResultsText(one, text);
  EXPECT_EQ(text.str(), "failed a\xEF\xBF\xBD\\x1b[31m<&\">\n");

  TempDir dir;
  const std::string file = dir.str() + "/junit.xml";
  ASSERT_TRUE(WriteResultsJUnit(one, file));
  const std::string xml = ReadFile(file);
  EXPECT_NE(xml.find("name=\"a\xEF\xBF\xBD\\x1b[31m&lt;&amp;&quot;&gt;\""), std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<failure type=\"failed\""), std::string::npos);
  EXPECT_FALSE(WriteResultsJUnit(one, dir.str() + "/no/such/folder/junit.xml"));
}

TEST(ResultOutput, SeveralFlowsGiveASuiteEachAndNotRunPartsDoNotCount) {
  VerifyResult skipped = Part("7400", Verdict::Unknown, "not run: no template given");
  skipped.flow = "template";
  skipped.cause = skipped.message;
  skipped.notRun = true;
  const std::vector<VerifyResult> results = {Part("7400", Verdict::PassedWithWarnings, "warned"),
                                             skipped};
  EXPECT_EQ(WorstVerdict(results), Verdict::PassedWithWarnings);
  EXPECT_EQ(WorstVerdict({skipped}), Verdict::Unknown);  // nothing was checked
  std::ostringstream json;
  WriteResultsJson(results, json);
  const auto parsed = nlohmann::json::parse(json.str());
  EXPECT_EQ(parsed["flow"], "all");
  EXPECT_EQ(parsed["verdict"], "passed with warnings");
  EXPECT_EQ(parsed["parts"][1]["skipped"], true);
  EXPECT_FALSE(parsed["parts"][0].contains("skipped"));

  TempDir dir;
  const std::string file = dir.str() + "/junit.xml";
  ASSERT_TRUE(WriteResultsJUnit(results, file));
  const std::string xml = ReadFile(file);
  EXPECT_NE(xml.find("<testsuite name=\"template\" tests=\"1\" failures=\"0\" errors=\"0\" "
                     "skipped=\"1\" time=\""),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<skipped message=\"not run: no template given\"/>"), std::string::npos);
  EXPECT_EQ(xml.find("<error"), std::string::npos);
}

}  // namespace

namespace {

Finding Found(const std::string& rule, const std::string& object, const std::string& message) {
  Finding finding;
  finding.rule = rule;
  finding.part = "7432";
  finding.object = object;
  finding.message = message;
  finding.file = "/p/rulex/rx.msg";
  finding.line = 2;
  return finding;
}

TEST(ResultOutput, FindingsDurationsAndNotRunInJsonAndJUnit) {
  VerifyResult failed = Part("7432", Verdict::Failed, "View verification failed.");
  failed.flow = "rulex";
  failed.duration = 1.25;
  failed.findings = {Found("prop_present", "7432_DIP14", "7432_DIP14 lacks property PART_NAME"),
                     Found("pin_check", "", "pins <differ>")};
  failed.findingsTruncated = true;
  std::ostringstream json;
  WriteResultsJson({failed}, json);
  const auto one = nlohmann::json::parse(json.str());
  EXPECT_EQ(one["schema"], 2);
  EXPECT_EQ(one["duration"], 1.25);
  EXPECT_EQ(one["findings"],
            nlohmann::json({"7432_DIP14 lacks property PART_NAME", "pins <differ>"}))
      << "the first schema's key keeps the messages";
  ASSERT_EQ(one["finding_records"].size(), 2u);
  EXPECT_EQ(one["finding_records"][0],
            nlohmann::json({{"rule", "prop_present"},
                            {"severity", "error"},
                            {"part", "7432"},
                            {"object", "7432_DIP14"},
                            {"message", "7432_DIP14 lacks property PART_NAME"},
                            {"file", "/p/rulex/rx.msg"},
                            {"line", 2}}));
  EXPECT_FALSE(one["finding_records"][1].contains("object"));
  EXPECT_EQ(one["findings_truncated"], true);

  VerifyResult skipped = Part("7400", Verdict::Unknown, "not run: no template given");
  skipped.cause = skipped.message;
  skipped.notRun = true;
  std::ostringstream notRun;
  WriteResultsJson({skipped, skipped}, notRun);
  const auto both = nlohmann::json::parse(notRun.str());
  EXPECT_EQ(both["schema"], 2);
  EXPECT_EQ(both["verdict"], "not run") << "nothing ran: neither unknown nor passed";
  EXPECT_EQ(both["parts"][0]["verdict"], "not run");
  EXPECT_EQ(both["parts"][0]["skipped"], true);
  EXPECT_EQ(both["parts"][0]["cause"], "not run: no template given");

  TempDir dir;
  const std::string file = dir.str() + "/junit.xml";
  ASSERT_TRUE(WriteResultsJUnit({failed, skipped}, file));
  const std::string xml = ReadFile(file);
  EXPECT_NE(xml.find("<failure type=\"failed\" message=\"prop_present 7432_DIP14: 7432_DIP14 "
                     "lacks property PART_NAME\">7432: prop_present 7432_DIP14: 7432_DIP14 lacks "
                     "property PART_NAME\n7432: pin_check: pins &lt;differ&gt;\n"
                     "(more findings left out)\nlog: /p/temp/7432.log</failure>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("name=\"7432\" time=\"1.250\">"), std::string::npos) << xml;
  EXPECT_NE(xml.find("name=\"7400\" time=\"0.000\">"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<testsuite name=\"rulex\" tests=\"1\" failures=\"1\" errors=\"0\" "
                     "skipped=\"0\" time=\"1.250\">"),
            std::string::npos)
      << xml;
  std::size_t said = 0;
  for (auto at = xml.find("no template given"); at != std::string::npos;
       at = xml.find("no template given", at + 1))
    ++said;
  EXPECT_EQ(said, 1u) << "a skipped case states its cause once\n" << xml;
}

}  // namespace

namespace {

// The records of a run are written one at a time; the text is still exactly what one dump of
// the whole document gives (indentation, member order, replaced bytes), with members added
// beside "parts" in their place.
TEST(ResultOutput, RecordsWrittenOneAtATimeReadAsOneDump) {
  VerifyResult failed = Part("74\xff", Verdict::Failed, "two\nlines");
  failed.findings = {Found("prop_present", "U1", "lacks \"PART_NAME\"\t"), Found("pin", "", "")};
  failed.counts = {{"errors", 2}, {"total", std::nullopt}};
  failed.duration = 0.1;
  const auto redumped = [](const std::string& text) {
    return nlohmann::json::parse(text).dump(2) + "\n";
  };
  for (const std::vector<VerifyResult>& results :
       {std::vector<VerifyResult>{}, {failed}, {failed, Part("7400", Verdict::Passed, "ok")}}) {
    std::ostringstream json;
    WriteResultsJson(results, json);
    EXPECT_EQ(json.str(), redumped(json.str())) << results.size() << " records";
  }
  std::ostringstream json;
  WriteResultsJson({failed, failed}, json, R"({"fixed_findings":[],"new_findings":[{"a":1}]})");
  EXPECT_EQ(json.str(), redumped(json.str()));
  const auto read = nlohmann::json::parse(json.str());
  EXPECT_EQ(read["new_findings"][0]["a"], 1);
  EXPECT_EQ(read["parts"][1]["cell"], "74\xEF\xBF\xBD");
}

}  // namespace
