// Every flow's -json names what its tool found on a failing part of the example project, as
// typed findings read from the tool's reports.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace {

// The finding records of a -json output.
nlohmann::json Findings(const QStringList& words, const TempDir& dir) {
  const ProgramRun run =
      RunProgram(KESTRA_PROGRAM, QStringList{"verify"} + words + QStringList{"-json"}, dir.str());
  EXPECT_EQ(run.status, 1) << run.err;
  const auto json = nlohmann::json::parse(run.out, nullptr, false);
  EXPECT_EQ(json.value("schema", 0), 2) << run.out;
  return json.value("finding_records", nlohmann::json::array());
}

// The first record of rule, or null.
nlohmann::json Rule(const nlohmann::json& findings, const std::string& rule) {
  for (const auto& finding : findings) {
    if (finding.value("rule", "") == rule) return finding;
  }
  return nullptr;
}

TEST(FindingsCommand, EachFlowListsWhatItsToolFound) {
  TempDir dir;
  CopyDemoProject(dir.path());
  const QStringList project = {"-proj", "demo/demo.tak"};

  const auto rulex = Rule(
      Findings(QStringList{"rulex"} + project + QStringList{"-lib", "standard", "-cell", "7432"},
               dir),
      "prop_present");
  ASSERT_FALSE(rulex.is_null());
  EXPECT_EQ(rulex["part"], "7432");
  EXPECT_EQ(rulex["object"], "7432_DIP14");
  EXPECT_EQ(rulex["message"], "7432_DIP14 lacks property PART_NAME");
  EXPECT_EQ(rulex["severity"], "error");
  EXPECT_NE(rulex["file"].get<std::string>().find("rx.msg"), std::string::npos);
  EXPECT_GT(rulex["line"].get<int>(), 0);

  const auto simulation =
      Rule(Findings(QStringList{"simulation"} + project +
                        QStringList{"-lib", "simcells", "-cell", "nor2", "-wrapperview", "verilog",
                                    "-default-paths"},
                    dir),
           "pin_missing_in_wrapper");
  ASSERT_FALSE(simulation.is_null());
  EXPECT_EQ(simulation["part"], "nor2");
  EXPECT_EQ(simulation["object"], "B");

  const auto packaging = Rule(
      Findings(QStringList{"packaging"} + project + QStringList{"-lib", "packs", "-cell", "mux2"},
               dir),
      "pin_missing_in_package");
  ASSERT_FALSE(packaging.is_null());
  EXPECT_EQ(packaging["part"], "mux2");
  EXPECT_EQ(packaging["object"], "S");

  const auto difference = Rule(Findings(QStringList{"template"} + project +
                                            QStringList{"-lib", "tmplparts", "-cell", "tpl_props",
                                                        "-template", "demo/templates/site.tpl"},
                                        dir),
                               "template_difference");
  ASSERT_FALSE(difference.is_null());
  EXPECT_EQ(difference["part"], "tpl_props");

  const auto footprint =
      Rule(Findings(QStringList{"footprint"} + project + QStringList{"-name", "QFP44"}, dir),
           "footprint_syntax");
  ASSERT_FALSE(footprint.is_null());
  EXPECT_EQ(footprint["line"], 4);
  EXPECT_NE(footprint["file"].get<std::string>().find("QFP44.dra"), std::string::npos);
}

}  // namespace
