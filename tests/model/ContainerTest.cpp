// The containers: walks, the current key, sorted insertion with equal keys.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/ELogPart.h"
#include "model/WCMapStringToOb.h"
#include "model/WCObList.h"
#include "model/WCObListSorted.h"

namespace {

std::vector<std::string> physPartNames(EPhysPartList& list) {
  std::vector<std::string> names;
  if (list.initPos())
    while (EPhysPart* part = list.getNext()) names.push_back(part->getNameStr());
  return names;
}

struct Numbered : CObject {
  Numbered(int key, std::string tag) : key(key), tag(std::move(tag)) {}
  int getKey() const { return key; }
  int getNegated() const { return -key; }
  int key;
  std::string tag;
};

}  // namespace

TEST(ModelContainers, SortedInsertionKeepsEqualKeysInOrder) {
  ELogPart logical("LS00");
  EPhysPart* firstB = logical.add(std::make_unique<EPhysPart>("B"));
  logical.add(std::make_unique<EPhysPart>("A"));
  EPhysPart* secondB = logical.add(std::make_unique<EPhysPart>("B"));
  EXPECT_EQ(physPartNames(logical.getPhysPartList()), (std::vector<std::string>{"A", "B", "B"}));
  auto& items = logical.getPhysPartList().items();
  EXPECT_EQ(*std::next(items.begin(), 1), firstB);
  EXPECT_EQ(*std::next(items.begin(), 2), secondB);

  // The comparison is case-sensitive text order: upper case before lower case.
  logical.add(std::make_unique<EPhysPart>("a"));
  logical.add(std::make_unique<EPhysPart>(""));
  EXPECT_EQ(physPartNames(logical.getPhysPartList()),
            (std::vector<std::string>{"", "A", "B", "B", "a"}));

  // Integer keys, and a replaced key function.
  WCObListSorted<Numbered, int> numbers(&Numbered::getKey, 10, true);
  for (auto [key, tag] : {std::pair{3, "x"}, {1, "y"}, {3, "z"}, {-2, "w"}, {1, "v"}})
    numbers.add(std::make_unique<Numbered>(key, tag).release());
  std::string order;
  for (CObject* element : numbers.items()) order += static_cast<Numbered*>(element)->tag;
  EXPECT_EQ(order, "wyvxz");
  WCObListSorted<Numbered, int> descending(&Numbered::getKey, 10, true);
  descending.setCompareFunction(&Numbered::getNegated);
  for (int key : {1, 3, 2}) descending.add(std::make_unique<Numbered>(key, "").release());
  EXPECT_EQ(descending.GetHead()->key, 3);
  EXPECT_EQ(descending.GetTail()->key, 1);
}

TEST(ModelContainers, ListAndMapWalks) {
  WCObList empty;
  EXPECT_FALSE(empty.isAutoDelete());
  EXPECT_EQ(empty.getBlockSize(), 10);
  EXPECT_FALSE(empty.initPos());
  EXPECT_EQ(empty.getNext(), nullptr);

  WCObList list(4, true);
  auto* first = std::make_unique<Numbered>(1, "a").release();
  auto* second = std::make_unique<Numbered>(2, "b").release();
  list.AddTail(second);
  list.AddHead(first);
  ASSERT_TRUE(list.initPos());
  EXPECT_EQ(list.getNext(), first);
  EXPECT_EQ(list.getNext(), second);
  EXPECT_EQ(list.getNext(), nullptr);
  EXPECT_EQ(list.GetHead(), first);
  EXPECT_EQ(list.GetTail(), second);

  WCMapStringToOb map(10, true);
  EXPECT_FALSE(map.initPos());
  EXPECT_EQ(map.getNext(), nullptr);
  EXPECT_EQ(map.getCurrentKey(), "");
  auto* u1 = std::make_unique<Numbered>(1, "u1").release();
  auto* vcc = std::make_unique<Numbered>(2, "vcc").release();
  map.SetAt("VCC", vcc);
  map.SetAt("U1", u1);
  ASSERT_TRUE(map.initPos());
  EXPECT_EQ(map.getNext(), u1);
  EXPECT_EQ(map.getCurrentKey(), "U1");
  EXPECT_EQ(map.getNext(), vcc);
  EXPECT_EQ(map.getCurrentKey(), "VCC");
  EXPECT_EQ(map.getNext(), nullptr);
  EXPECT_EQ(map.getCurrentKey(), "VCC");  // the last one delivered

  // Removing during a walk ends the walk instead of leaving it on a destroyed element.
  ASSERT_TRUE(map.initPos());
  EXPECT_EQ(map.getNext(), u1);
  EXPECT_TRUE(map.RemoveKey("VCC"));
  EXPECT_EQ(map.getNext(), nullptr);
  EXPECT_FALSE(map.RemoveKey("VCC"));
  EXPECT_EQ(map.Lookup("U1"), u1);
  EXPECT_EQ(map.Lookup("VCC"), nullptr);
}
