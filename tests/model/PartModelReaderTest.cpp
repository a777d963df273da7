// Filling the part model from cells of our part format: a cell written here with every
// feature, the demo's 7400, a cell without a package view.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/BException.h"
#include "suite/partmodel/PartModelReader.h"

namespace fs = std::filesystem;

namespace {

class CellFolder {
 public:
  CellFolder() : root_(fs::temp_directory_path() / ("partmodel-" + std::to_string(::getpid()))) {
    fs::remove_all(root_);
    fs::create_directories(root_ / "buf125");
  }
  ~CellFolder() { fs::remove_all(root_); }
  fs::path cell() const { return root_ / "buf125"; }
  void write(const std::string& relative, const std::string& text) const {
    fs::create_directories((cell() / relative).parent_path());
    std::ofstream(cell() / relative) << text;
  }

 private:
  fs::path root_;
};

std::vector<std::string> physicalNames(ELogPart& logical) {
  std::vector<std::string> names;
  for (CObject* element : logical.getPhysPartList().items())
    names.push_back(static_cast<EPhysPart*>(element)->getNameStr());
  return names;
}

}  // namespace

TEST(PartModelReader, FillsChipsAndSymbolsFromTheCell) {
  CellFolder folder;
  folder.write("package/package.pkg",
               "package buf125\n"
               "alias 74hc125 74act125\n"
               "property CLASS IC\n"
               "property POWER_PINS (VCC:14)\n"
               "physical SO14\n"
               "  property JEDEC_TYPE SO14\n"
               "  property POWER_PINS (VCC:7)\n"
               "  pin Y 3 tristate\n"
               "  load Y input 0.02\n"
               "  load Y output 0.4\n"
               "  pin VCC 7 power\n"
               "  pin A 2 wobbly\n"
               "end\n"
               "physical DIP14\n"
               "  property JEDEC_TYPE DIP14\n"
               "  pin Y 3 tristate\n"
               "end\n");
  folder.write("sym_2/symbol.sym", "symbol buf125_b\npin A -40 0\n");
  folder.write("sym_1/symbol.sym", "symbol buf125\npin A -40 10\npin Y 40 0\n");
  folder.write("notes/symbol.sym", "symbol ignored\n");

  EChipsData chips;
  EPart part(&chips);
  BMesgList problems;
  ReadPartModel("standard", folder.cell().string() + "/", chips, part, &problems);

  EXPECT_EQ(part.getPartName(), "buf125");
  EXPECT_EQ(part.getLibName(), "standard");
  ASSERT_EQ(chips.getLogPartList().GetCount(), 1);
  ELogPart* logical = chips.getLogPartList().GetHead();
  EXPECT_EQ(logical->getNameStr(), "buf125");
  EXPECT_EQ(physicalNames(*logical), (std::vector<std::string>{"DIP14", "SO14"}));

  EPhysPart* so14 = logical->getPhysPartList().GetTail();
  // The part's own POWER_PINS wins over the common one (they are not merged).
  EXPECT_EQ(so14->getPropList().at("POWER_PINS"), "(VCC:7)");
  EXPECT_EQ(so14->getPropList().at("CLASS"), "IC");
  EXPECT_EQ(logical->getPhysPartList().GetHead()->getPropList().at("POWER_PINS"), "(VCC:14)");
  EXPECT_EQ(so14->getAliasList().size(), 2u);
  EPin* y = so14->getPin("Y");
  ASSERT_NE(y, nullptr);
  EXPECT_EQ(y->getPinType(), EPin::Tristate);
  EXPECT_EQ(y->getPropList().at("NUMBER"), "3");
  EXPECT_EQ(y->getPropList().at("INPUT_LOAD"), "0.02");
  EXPECT_EQ(y->getPropList().at("OUTPUT_LOAD"), "0.4");
  EXPECT_TRUE(so14->getPin("VCC")->isPowerPin());
  EXPECT_EQ(chips.getCurrentPhysPart(), nullptr);

  // The unknown pin type is reported with file and line.
  ASSERT_EQ(problems.getErrorCount(), 1);
  EXPECT_NE(problems.getMessages()[0].getText().find("package.pkg:12"), std::string::npos)
      << problems.getMessages()[0].getText();

  ASSERT_EQ(part.getSymbolDataList().GetCount(), 2);
  ESymbolData* first = part.getSymbolDataList().GetHead();
  EXPECT_EQ(first->getSymbolName(), "buf125");
  EXPECT_EQ(first->getSymbolSeq(), 0);
  EXPECT_EQ(first->getConnections().GetCount(), 2);
  auto* a = static_cast<EPin*>(first->getConnections().Lookup("A"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->getPropList().at("Y"), "10");
  EXPECT_EQ(part.getSymbolDataList().GetTail()->getSymbolName(), "buf125_b");

  // Reading again replaces what was there.
  ReadPartModel("standard", KESTRA_SOURCE_DIR "/examples/demo/libs/standard/7400", chips, part);
  EXPECT_EQ(part.getPartName(), "7400");
  ASSERT_EQ(chips.getLogPartList().GetCount(), 1);
  EXPECT_EQ(chips.getLogPartList().GetHead()->getNameStr(), "7400");
  EXPECT_EQ(part.getSymbolDataList().GetCount(), 1);
  EXPECT_EQ(part.getSymbolDataList().GetHead()->getConnections().GetCount(), 3);
}

TEST(PartModelReader, CellWithoutPackageViewThrows) {
  CellFolder folder;
  folder.write("sym_1/symbol.sym", "symbol buf125\n");
  EChipsData chips;
  EPart part(&chips);
  try {
    ReadPartModel("standard", folder.cell().string(), chips, part);
    ADD_FAILURE() << "a cell without package view was read";
  } catch (const BException& error) {
    EXPECT_NE(error.getExceptionInfo().find("Part buf125 of library standard has no package view"),
              std::string::npos)
        << error.getExceptionInfo();
    EXPECT_NE(error.getExceptionLocation().find("package/package.pkg"), std::string::npos);
  }
}
