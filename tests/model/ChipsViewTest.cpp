// Queries over the chips data of a real part (the demo's 74ls125) and the chips database's
// names of its objects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/QChipsView.h"
#include "suite/partmodel/DobraDatabase.h"
#include "suite/partmodel/PartModelReader.h"

namespace {

const std::string kCell = std::string(KESTRA_SOURCE_DIR) + "/examples/demo/libs/standard/74ls125";

// Counts the loads of the pins it visits; skips pins when told.
class LoadQuery : public QChipsView {
 public:
  bool wantPins = true;
  int loads = 0;
  std::vector<std::string> logicalParts;
  void processLogPart(const ELogPart& part) override { logicalParts.push_back(part.getNameStr()); }
  void processPinProp(const std::string& name, const std::string&) override {
    if (name == "INPUT_LOAD" || name == "OUTPUT_LOAD") ++loads;
  }
  bool domainEvent(Domain domain) override { return domain != Pins || wantPins; }
};

}  // namespace

TEST(ChipsView, QueriesWalkTheChipsDataWithinTheirContext) {
  EChipsData chips;
  EPart part(&chips);
  ReadPartModel("standard", kCell, chips, part);

  LoadQuery all;
  EXPECT_EQ(all.execute(chips), 1);
  EXPECT_EQ(all.logicalParts, std::vector<std::string>{"74ls125"});
  EXPECT_EQ(all.getPinList().GetCount(), 3);
  EXPECT_EQ(all.loads, 2);  // Y's input and output load
  EXPECT_EQ(all.getPropList().at("CLASS"), "IC");

  LoadQuery noPins;
  noPins.wantPins = false;
  noPins.execute(chips);
  EXPECT_TRUE(noPins.getPinList().IsEmpty());
  EXPECT_EQ(noPins.loads, 0);

  LoadQuery elsewhere;
  elsewhere.setContext(QChipsView::PhysicalParts, "SO14");
  EXPECT_EQ(elsewhere.execute(chips), 0);
  EXPECT_TRUE(elsewhere.getPropList().empty());
}

TEST(ChipsView, NamesComeFromTheChipsDatabase) {
  EChipsData chips;
  EPart part(&chips);
  ReadPartModel("standard", kCell, chips, part);
  EXPECT_EQ(chips.getPinName(), "") << "no current pin yet";

  DobraDatabase database(chips);
  RChipsView view;
  ASSERT_TRUE(database.select(view, "74LS125_DIP14", "Y", "JEDEC_TYPE"));
  EXPECT_EQ(view.getLogPartName(), "74ls125");
  EXPECT_EQ(view.getPhysPartName(), "74LS125_DIP14");
  EXPECT_EQ(view.getPinName(), "Y");
  EXPECT_EQ(view.getPropName(), "JEDEC_TYPE");
  EXPECT_EQ(view.getPropValue(), "DIP14");

  const RChipsView copy(view);
  EXPECT_FALSE(database.select(view, "74LS125_DIP14", "NOPIN"));
  EXPECT_EQ(view.getPinName(), "Y") << "a failed selection leaves the view";
  EXPECT_EQ(copy.getPropValue(), "DIP14");
  EXPECT_TRUE(database.select(view, "74LS125_DIP14"));
  EXPECT_EQ(view.getPinName(), "");
}
