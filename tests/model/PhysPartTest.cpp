// A physical part's property merging, pins and cursors.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/EPhysPart.h"

namespace {

std::vector<std::pair<std::string, std::string>> walkProperties(EPhysPart& part) {
  std::vector<std::pair<std::string, std::string>> seen;
  std::string name, value;
  for (bool more = part.initPropList(); more;) {
    more = part.getNextProp(name, value);
    seen.emplace_back(name, value);
  }
  return seen;
}

}  // namespace

TEST(ModelPhysPart, PropertyMerging) {
  EPhysPart part("DIP14");
  part.add("POWER_PINS", "(A:1)");
  part.add("POWER_PINS", "(B:2)");
  part.add("POWER_PINS", "(C:3)");
  part.add("GROUND_PINS", "(VSS:7)");
  part.add("GROUND_PINS", "(AGND:8)(DGND:9)");
  part.add("NC_PINS", "(1)");
  part.add("NC_PINS", "(2)");
  part.add("GROUND_NETS", "GND");
  part.add("GROUND_NETS", "AGND");
  part.add("power_pins", "(X:1)");
  part.add("power_pins", "(Y:2)");
  part.add("CLASS", "IC");
  part.add("CLASS", "DISCRETE");
  const auto& props = part.getPropList();
  EXPECT_EQ(props.at("POWER_PINS"), "(A:1;B:2;C:3)");
  EXPECT_EQ(props.at("GROUND_PINS"), "(VSS:7;AGND:8;DGND:9)");
  EXPECT_EQ(props.at("NC_PINS"), "(1,2)");
  EXPECT_EQ(props.at("GROUND_NETS"), "GND,AGND");
  EXPECT_EQ(props.at("power_pins"), "(Y:2)");  // names are compared exactly
  EXPECT_EQ(props.at("CLASS"), "DISCRETE");
  EXPECT_EQ(walkProperties(part).size(), props.size());
  EXPECT_EQ(walkProperties(part).front(),
            (std::pair<std::string, std::string>{"CLASS", "DISCRETE"}));
}

TEST(ModelPhysPart, CursorsAndPins) {
  EPhysPart part("SO8");
  EXPECT_FALSE(part.initPropList());
  std::string name = "kept", value = "kept";
  EXPECT_FALSE(part.getNextProp(name, value));
  EXPECT_EQ(name, "kept");

  std::string alias = "none";
  EXPECT_FALSE(part.initAliasList());
  EXPECT_FALSE(part.getNextAlias(alias));
  EXPECT_EQ(alias, "none");

  part.addAlias("LS00A");
  part.addAlias("LS00B");
  part.addAlias("LS00A");
  std::vector<std::string> aliases;
  ASSERT_TRUE(part.initAliasList());
  while (part.getNextAlias(alias)) aliases.push_back(alias);
  EXPECT_EQ(aliases, (std::vector<std::string>{"LS00A", "LS00B"}));
  EXPECT_EQ(part.getAliasList().at("LS00B"), "LS00B");

  EPin* vcc = part.add(std::make_unique<EPin>("VCC", EPin::Power));
  EXPECT_EQ(part.getPin("VCC"), vcc);
  EXPECT_STREQ(vcc->getName(), "VCC");
  EXPECT_EQ(vcc->getPinTypeStr(), "power");
  EXPECT_EQ(EPin::pinTypeFromText("opencollector"), EPin::OpenCollector);
  EXPECT_EQ(EPin::pinTypeFromText("Power"), EPin::Unknown);
  EXPECT_FALSE(vcc->hasPin("VCC"));
  // A second pin of the same name replaces the first (which the part destroys).
  EPin* replacement = part.add(std::make_unique<EPin>("VCC", EPin::Input));
  EXPECT_EQ(part.getPinList().GetCount(), 1);
  EXPECT_EQ(part.getPin("VCC"), replacement);
  EXPECT_EQ(part.add(std::unique_ptr<EPin>()), nullptr);

  replacement->setProperty("LOAD", "1.5");
  replacement->setProperty("DELAY", "2");
  std::vector<std::string> pinProps;
  for (bool more = replacement->initPropList(); more;) {
    more = replacement->getNextProp(name, value);
    pinProps.push_back(name + "=" + value);
  }
  EXPECT_EQ(pinProps, (std::vector<std::string>{"DELAY=2", "LOAD=1.5"}));
}
