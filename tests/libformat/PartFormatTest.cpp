// Reading symbol and package views, and the view-type families.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "libformat/PackageView.h"
#include "libformat/SymbolView.h"
#include "libformat/ViewType.h"

namespace {

bool HasIssue(const FormatIssues& issues, int line, const std::string& part) {
  for (const FormatIssue& issue : issues) {
    if (issue.line == line && issue.message.find(part) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

TEST(SymbolView, ReadsNameOriginExtentAndPins) {
  TempDir dir;
  const auto file = dir.write("sym_1/symbol.sym",
                              "# nand\n"
                              "symbol 74ls00\n"
                              "origin 0 0\n"
                              "extent 40 30 -40 -30\n"
                              "pin A -40 10\n"
                              "pin \"Y\" 40 0  # output\n");
  const SymbolViewResult r = ReadSymbolView(file.string());
  ASSERT_TRUE(r.read);
  EXPECT_TRUE(r.issues.empty()) << r.issues.front().ToString();
  EXPECT_EQ(r.symbol.name, "74ls00");
  EXPECT_EQ(r.symbol.xMin, -40);  // corners given in either order
  EXPECT_EQ(r.symbol.yMax, 30);
  ASSERT_EQ(r.symbol.pins.size(), 2u);
  EXPECT_EQ(r.symbol.pins[1].name, "Y");
  EXPECT_EQ(r.symbol.pins[1].x, 40);
  EXPECT_EQ(r.symbol.pins[1].line, 6);
  EXPECT_TRUE(r.symbol.IsOriginCentred());
}

TEST(SymbolView, OriginCentringNeedsBothStatementsAndTheMiddle) {
  TempDir dir;
  const auto off = dir.write("a.sym", "symbol s\norigin -40 -30\nextent -40 -30 40 30\n");
  EXPECT_FALSE(ReadSymbolView(off.string()).symbol.IsOriginCentred());
  const auto odd = dir.write("b.sym", "symbol s\norigin 5 0\nextent 0 -2 11 2\n");
  EXPECT_FALSE(ReadSymbolView(odd.string()).symbol.IsOriginCentred());
  const auto none = dir.write("c.sym", "symbol s\nextent -4 -2 4 2\n");
  EXPECT_FALSE(ReadSymbolView(none.string()).symbol.IsOriginCentred());
  // Coordinates at the limits of int compare without overflowing.
  const auto big = dir.write("d.sym",
                             "symbol s\norigin 2147483647 0\nextent 2147483646 -2 "
                             "2147483647 2\n");
  EXPECT_FALSE(ReadSymbolView(big.string()).symbol.IsOriginCentred());
  const auto wide =
      dir.write("e.sym", "symbol s\norigin 0 0\nextent -2147483647 -2 2147483647 2\n");
  EXPECT_TRUE(ReadSymbolView(wide.string()).symbol.IsOriginCentred());
}

TEST(SymbolView, ReportsEveryBadLineAndKeepsTheGoodOnes) {
  TempDir dir;
  const auto file = dir.write("symbol.sym",
                              "origin 0 zero\n"
                              "origin 1 2\n"
                              "origin 3 4\n"
                              "extent 1 2 3\n"
                              "pin A 1\n"
                              "pin B 1 2\n"
                              "pin B 3 4\n"
                              "colour red\n");
  const SymbolViewResult r = ReadSymbolView(file.string());
  EXPECT_TRUE(HasIssue(r.issues, 1, "not a whole number"));
  EXPECT_EQ(r.symbol.originX, 1);  // a bad first origin does not block a good one
  EXPECT_TRUE(HasIssue(r.issues, 3, "more than once"));
  EXPECT_TRUE(HasIssue(r.issues, 4, "needs 4"));
  EXPECT_FALSE(r.symbol.hasExtent);
  EXPECT_TRUE(HasIssue(r.issues, 5, "needs 2"));
  EXPECT_TRUE(HasIssue(r.issues, 7, "declared twice"));
  EXPECT_TRUE(HasIssue(r.issues, 8, "unknown statement"));
  EXPECT_TRUE(HasIssue(r.issues, 0, "no \"symbol\""));
  ASSERT_EQ(r.symbol.pins.size(), 1u);

  const SymbolViewResult missing = ReadSymbolView((dir.path() / "nothing.sym").string());
  EXPECT_FALSE(missing.read);
  EXPECT_EQ(missing.issues.size(), 1u);
}

TEST(PackageView, ReadsPhysicalPartsPropertiesLoadsAndAliases) {
  TempDir dir;
  const auto file = dir.write("package.pkg",
                              "package 74ls125\n"
                              "symbol 74ls125\n"
                              "alias 74hc125 74act125\n"
                              "property CLASS IC\n"
                              "property PART_NAME \"74LS125 quad buffer\"\n"
                              "physical DIP14\n"
                              "  property JEDEC_TYPE DIP14   # footprint\n"
                              "  property CLASS DISCRETE\n"
                              "  pin A 2 input\n"
                              "  pin Y 3 tristate\n"
                              "  load Y input 0.02\n"
                              "  load Y output .4\n"
                              "end\n"
                              "physical SO14\n"
                              "  pin Y 3 tristate\n"
                              "end\n");
  const PackageViewResult r = ReadPackageView(file.string());
  ASSERT_TRUE(r.read);
  EXPECT_TRUE(r.issues.empty()) << r.issues.front().ToString();
  const PackageView& p = r.package;
  EXPECT_EQ(p.name, "74ls125");
  EXPECT_EQ(p.symbolName, "74ls125");
  EXPECT_EQ(p.aliases, (std::vector<std::string>{"74hc125", "74act125"}));
  ASSERT_EQ(p.physicalParts.size(), 2u);
  const PhysicalPart& dip = p.physicalParts[0];
  EXPECT_EQ(p.Property(dip, "JEDEC_TYPE"), "DIP14");
  EXPECT_EQ(p.Property(dip, "CLASS"), "DISCRETE");  // own value overrides the common one
  EXPECT_EQ(p.Property(dip, "PART_NAME"), "74LS125 quad buffer");
  EXPECT_EQ(p.Property(p.physicalParts[1], "JEDEC_TYPE"), std::nullopt);
  ASSERT_EQ(dip.pins.size(), 2u);
  EXPECT_EQ(dip.pins[1].inputLoad, 0.02);
  EXPECT_EQ(dip.pins[1].outputLoad, 0.4);
  EXPECT_FALSE(p.physicalParts[1].pins[0].outputLoad.has_value());
}

TEST(PackageView, ReportsStructureAndValueErrorsWithLines) {
  TempDir dir;
  const auto file = dir.write("package.pkg",
                              "pin A 1 input\n"
                              "physical P\n"
                              "pin A 1 sideways\n"
                              "pin B 2 output\n"
                              "load B output heavy\n"
                              "load B both 1\n"
                              "load C input 1\n"
                              "physical Q\n"
                              "end\n"
                              "end\n"
                              "physical R\n");
  const PackageViewResult r = ReadPackageView(file.string());
  EXPECT_TRUE(HasIssue(r.issues, 1, "outside a \"physical\" block"));
  EXPECT_TRUE(HasIssue(r.issues, 3, "unknown pin type"));
  EXPECT_TRUE(HasIssue(r.issues, 5, "not a number"));
  EXPECT_TRUE(HasIssue(r.issues, 6, "load direction"));
  EXPECT_TRUE(HasIssue(r.issues, 7, "undeclared pin"));
  EXPECT_TRUE(HasIssue(r.issues, 8, "missing \"end\""));
  EXPECT_TRUE(HasIssue(r.issues, 10, "without \"physical\""));
  EXPECT_TRUE(HasIssue(r.issues, 11, "has no \"end\""));
  EXPECT_TRUE(HasIssue(r.issues, 0, "no \"package\""));
  ASSERT_EQ(r.package.physicalParts.size(), 3u);
  EXPECT_EQ(r.package.physicalParts[0].pins.size(), 1u);
}

TEST(ViewType, FamiliesSelectByDirectoryName) {
  const std::vector<std::string> views{"sym_1",   "SYM",       "symbol",  "vhdl",    "vhdl_2",
                                       "verilog", "Verilog_x", "package", "veriloga"};
  auto pick = [&](int type) {
    std::vector<std::string> out;
    for (const auto& v : views) {
      if (ViewMatchesType(v, type)) out.push_back(v);
    }
    return out;
  };
  EXPECT_EQ(pick(kAllViews), views);
  EXPECT_EQ(pick(kSymbolViews), (std::vector<std::string>{"sym_1", "SYM"}));
  EXPECT_EQ(pick(kVhdlViews), (std::vector<std::string>{"vhdl", "vhdl_2"}));
  EXPECT_EQ(pick(kVerilogViews), (std::vector<std::string>{"verilog", "Verilog_x"}));
  EXPECT_TRUE(pick(5).empty());
  EXPECT_FALSE(IsKnownViewType(5));
}
