// The base services: exceptions, message lists, the regular-expression holder, the
// environment initialiser, symbol data walks and value types.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "TempDir.h"
#include "model/BException.h"
#include "model/BMesgList.h"
#include "model/EGridCoordinate.h"
#include "model/ESymbolData.h"
#include "model/ESymbolTypes.h"
#include "model/GInitQvd.h"
#include "model/OLRegExp.h"
#include "outside/Brel.h"

TEST(ModelServices, ExceptionsMessagesAndExpressions) {
  BException original("Template line 3: unknown directive \"%PINZ\"", "site.tpl:3");
  BException copy = original;
  EXPECT_EQ(copy.getExceptionInfo(), "Template line 3: unknown directive \"%PINZ\"");
  EXPECT_EQ(copy.getExceptionLocation(), "site.tpl:3");
  EXPECT_STREQ(copy.what(), original.getExceptionInfo().c_str());

  BMesgList messages;
  messages.add("LS00: pin load of A differs: expected 1.0, found 2.0");
  messages.add("checked 14 pins", false);
  messages.addToErrorCount(2);
  EXPECT_EQ(messages.getErrorCount(), 3);
  ASSERT_EQ(messages.getMessages().size(), 2u);
  BMesgText text;
  text = messages.getMessages()[0];
  EXPECT_EQ(text.getText(), "LS00: pin load of A differs: expected 1.0, found 2.0");
  EXPECT_TRUE(text.isError());
  EXPECT_FALSE(messages.getMessages()[1].isError());
  messages.clear();
  EXPECT_EQ(messages.getErrorCount(), 0);

  OLRegExp names("ls[0-9]+", true, false);
  OLRegExp other;
  EXPECT_TRUE(other.matchesWholeText());
  other = names;
  EXPECT_EQ(other.getPattern(), "ls[0-9]+");
  EXPECT_TRUE(other.ignoresCase());
  EXPECT_FALSE(other.matchesWholeText());

  EXPECT_EQ(GInitQvd().getProduct(), "mld");
  EXPECT_EQ(GInitQvd("pcb").getProduct(), "pcb");
}

TEST(ModelServices, SymbolDataAndValues) {
  ESymbolData symbol;
  std::string group = "none";
  EXPECT_FALSE(symbol.initBubbleGroupList());
  EXPECT_FALSE(symbol.getNextBubbleGroup(group));
  EXPECT_EQ(group, "none");
  symbol.getBubbleGroupList() = {"A,B", "C"};
  std::vector<std::string> groups;
  for (bool more = symbol.initBubbleGroupList(); more;) {
    more = symbol.getNextBubbleGroup(group);
    groups.push_back(group);
  }
  EXPECT_EQ(groups, (std::vector<std::string>{"A,B", "C"}));
  EXPECT_FALSE(symbol.getNextBubbleGroup(group));
  symbol.setSymbolName("nand2");
  EXPECT_EQ(symbol.getSymbolName(), "nand2");

  symbol.getXList().emplace_back(1, 2, 3);
  EGridCoordinate copy = symbol.getXList().front();
  EXPECT_EQ(copy, EGridCoordinate(1, 2, 3));
  EXPECT_EQ(copy.z(), 3);
}

namespace {

// A reader of another symbol format that keeps its names in upper case and counts the object
// types it meets, through the operations a derived reader may refine.
class UpperCaseSymbolReader final : public ESymbolData {
 public:
  void processObjectType() override { ++objectTypes; }
  void setSymbolName(const std::string& name) override {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ESymbolData::setSymbolName(upper);
  }
  const std::string& getSymbolFileName() const override { return fileName; }
  int objectTypes = 0;
  std::string fileName = "sym.1";
};

}  // namespace

TEST(ModelServices, SymbolReadersRefineTheVirtualOperations) {
  UpperCaseSymbolReader derived;
  RSymbolView& reader = derived;
  reader.setSymbolName("nand2");
  reader.processObjectType();
  EXPECT_EQ(reader.getSymbolName(), "NAND2");
  EXPECT_EQ(reader.getSymbolFileName(), "sym.1");
  EXPECT_EQ(derived.objectTypes, 1);

  RSymbolView base;
  base.processObjectType();  // does nothing
  EXPECT_EQ(base.getSymbolSeq(), 0) << "no sequence set";
  base.setSymbolSeq(12);
  EXPECT_EQ(base.getSymbolSeq(), 12);
  TempDir dir;
  const auto file = dir.write("sym.1", "body\npin A 0 0\n");
  EXPECT_TRUE(base.readFile(file.string()));
  EXPECT_EQ(base.getLines(), (std::vector<std::string>{"body", "pin A 0 0"}));
  EXPECT_EQ(base.getSymbolFileName(), file.string());
  EXPECT_FALSE(base.readFile(dir.str())) << "a folder is no symbol file";
  EXPECT_FALSE(base.readFile(dir.str() + "/missing"));
}
