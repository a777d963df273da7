// The example project's parts read without format problems, its clean libraries pass the
// five part rules, and each deliberately broken part breaks exactly the rule it is meant to.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "libformat/LibraryTree.h"
#include "libformat/PackageView.h"
#include "libformat/SymbolView.h"
#include "projectfile/SpiExpandVariables.h"

namespace {

const std::string kDemo = std::string(KESTRA_SOURCE_DIR) + "/examples/demo/";

// The rules a part breaks, by short name.
std::set<std::string> BrokenRules(const SymbolView& sym, const PackageView& pkg) {
  std::set<std::string> broken;
  if (!sym.IsOriginCentred()) broken.insert("origin");
  if (sym.name != pkg.symbolName) broken.insert("symbol name");
  std::set<std::string> symbolPins;
  for (const SymbolPin& pin : sym.pins) symbolPins.insert(pin.name);
  for (const PhysicalPart& part : pkg.physicalParts) {
    std::set<std::string> packagePins;
    for (const PackagePin& pin : part.pins) {
      packagePins.insert(pin.name);
      if (pin.type == "tristate" && (!pin.inputLoad || !pin.outputLoad)) broken.insert("loads");
    }
    if (packagePins != symbolPins) broken.insert("pins");
    for (const std::string& name : MandatoryProperties()) {
      if (!pkg.Property(part, name)) broken.insert("property");
    }
  }
  return broken;
}

std::map<std::string, std::set<std::string>> CheckList(const std::string& listFile) {
  std::map<std::string, std::set<std::string>> result;
  LibraryTree tree(listFile, SpiExpandVariables);
  EXPECT_TRUE(tree.Issues().empty()) << tree.Issues().front().ToString();
  for (const LibraryEntry& lib : tree.Libraries()) {
    for (const CellEntry& cell : tree.Cells(lib.name)) {
      const std::string dir = lib.directory + "/" + cell.name + "/";
      const SymbolViewResult sym = ReadSymbolView(dir + "sym_1/" + kSymbolFileName);
      const PackageViewResult pkg = ReadPackageView(dir + "package/" + kPackageFileName);
      EXPECT_TRUE(sym.read && sym.issues.empty()) << dir;
      EXPECT_TRUE(pkg.read && pkg.issues.empty()) << dir;
      const auto views = tree.Views(lib.name, cell.name);
      EXPECT_EQ(views, (std::vector<std::string>{"package", "sym_1", "verilog", "vhdl"})) << dir;
      for (const PhysicalPart& part : pkg.package.physicalParts) {
        const auto footprint = pkg.package.Property(part, "JEDEC_TYPE");
        if (footprint) {
          EXPECT_TRUE(std::filesystem::exists(kDemo + "footprints/" + *footprint + ".dra"))
              << dir << " needs footprint " << *footprint;
        }
      }
      result[lib.name + "/" + cell.name] = BrokenRules(sym.symbol, pkg.package);
    }
  }
  return result;
}

}  // namespace

TEST(DemoProject, CleanLibrariesAreCleanAndEachBrokenPartBreaksItsOwnRule) {
  const auto project = CheckList(kDemo + "qvd.lib");
  const auto reference = CheckList(kDemo + "refqvd.lib");
  const std::map<std::string, std::string> faults{{"standard/7404", "origin"},
                                                  {"standard/7432", "property"},
                                                  {"standard/7408", "pins"},
                                                  {"standard/74ls244", "loads"},
                                                  {"standard/7486", "symbol name"},
                                                  // the packaging flow's parts that fail or warn
                                                  {"packs/mux2", "pins"},
                                                  {"packs/ne555", "pins"}};
  EXPECT_EQ(project.size() + reference.size(), 26u);
  for (const auto* checked : {&project, &reference}) {
    for (const auto& [part, broken] : *checked) {
      const auto fault = faults.find(part);
      if (fault == faults.end()) {
        EXPECT_TRUE(broken.empty()) << part << " breaks " << *broken.begin();
      } else {
        EXPECT_EQ(broken, std::set<std::string>{fault->second}) << part;
      }
    }
  }
  EXPECT_TRUE(project.count("passives/res") && project.count("standard/74ls125"));
}
