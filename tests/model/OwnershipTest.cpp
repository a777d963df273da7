// Who destroys what: every element exactly once, through the owning containers. The counters
// check it in any build; the sanitizer build also catches a leak or a second delete.
#include <gtest/gtest.h>

#include <memory>

#include "model/EChipsData.h"
#include "model/EPart.h"
#include "model/WCMapStringToOb.h"
#include "model/WCObList.h"

namespace {

int destroyed = 0;

struct CountedPin : EPin {
  using EPin::EPin;
  ~CountedPin() override { ++destroyed; }
};

struct Counted : CObject {
  ~Counted() override { ++destroyed; }
};

struct CountedSymbol : ESymbolData {
  ~CountedSymbol() override { ++destroyed; }
};

}  // namespace

TEST(ModelOwnership, PartHierarchyDestroysEachElementOnce) {
  destroyed = 0;
  auto chips = std::make_unique<EChipsData>();
  {
    EPart part(chips.get());
    EXPECT_EQ(part.getChipsData(), chips.get());
    for (const char* logicalName : {"LS00", "LS04"}) {
      ELogPart* logical = chips->add(std::make_unique<ELogPart>(logicalName));
      for (const char* physicalName : {"SO14", "DIP14"}) {
        EPhysPart* physical = logical->add(std::make_unique<EPhysPart>(physicalName));
        physical->add(std::make_unique<CountedPin>("A"));
        physical->add(std::make_unique<CountedPin>("B"));
        physical->add(std::make_unique<CountedPin>("A"));  // replaces the first A
        chips->getCurrentPhysPart() = physical;
      }
    }
    EXPECT_EQ(destroyed, 4);  // the four replaced pins
    auto symbol = std::make_unique<CountedSymbol>();
    symbol->setSymbolSeq(2);
    part.add(std::move(symbol));
    part.add(std::make_unique<CountedSymbol>());
    part.getSymbolDataList().GetHead()->getLineList().AddTail(
        std::make_unique<Counted>().release());
    EXPECT_EQ(part.getSymbolDataList().GetHead()->getSymbolSeq(), 0);
  }
  // The part destroyed its two symbols and the line, not the chips data.
  EXPECT_EQ(destroyed, 7);
  EXPECT_EQ(chips->getLogPartList().GetCount(), 2);
  chips->initialize();
  EXPECT_EQ(destroyed, 15);
  EXPECT_EQ(chips->getCurrentPhysPart(), nullptr);
  EXPECT_TRUE(chips->getLogPartList().IsEmpty());
  chips.reset();
  EXPECT_EQ(destroyed, 15);
}

TEST(ModelOwnership, AutoDeleteDecidesAndNeverDeletesTwice) {
  destroyed = 0;
  Counted kept;  // on the stack: a list that does not own it must never delete it
  {
    WCObList borrowing;
    borrowing.AddTail(&kept);
    borrowing.AddTail(&kept);
    borrowing.RemoveAll();
    borrowing.AddTail(&kept);
  }
  EXPECT_EQ(destroyed, 0);
  {
    WCObList owning(10, true);
    Counted* twice = std::make_unique<Counted>().release();
    owning.AddTail(twice);
    owning.AddTail(twice);
    owning.AddTail(nullptr);
    owning.RemoveAll();
    EXPECT_EQ(destroyed, 1);
    owning.AddTail(std::make_unique<Counted>().release());
  }
  EXPECT_EQ(destroyed, 2);
  {
    WCMapStringToOb owning(10, true);
    Counted* shared = std::make_unique<Counted>().release();
    owning.SetAt("first", shared);
    owning.SetAt("second", shared);
    owning.SetAt("second", shared);
    EXPECT_TRUE(owning.RemoveKey("first"));
    EXPECT_EQ(destroyed, 2);  // still stored under "second"
    owning.SetAt("second", std::make_unique<Counted>().release());
    EXPECT_EQ(destroyed, 3);  // the replaced element went with its last key
    owning.SetAt("third", std::make_unique<Counted>().release());
  }
  EXPECT_EQ(destroyed, 5);
  {
    WCMapStringToOb borrowing;
    borrowing.SetAt("a", &kept);
    borrowing.SetAt("b", &kept);
    EXPECT_TRUE(borrowing.RemoveKey("a"));
  }
  EXPECT_EQ(destroyed, 5);
}
