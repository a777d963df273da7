// The name mapper and MapLibraryName: ordinary names keep their spelling (lower-cased),
// others are escaped one-to-one, and names that cannot name a file are refused.
#include <gtest/gtest.h>

#include "base/MapLibraryName.h"
#include "base/nimra.h"

TEST(NameMapping, OrdinaryNamesAreOnlyLowerCased) {
  EXPECT_EQ(MapLibraryName("MyLib_2-rev.A"), "mylib_2-rev.a");
  EXPECT_EQ(MapLibraryName("cell"), "cell");
  EXPECT_EQ(MapLibraryName(".hidden"), ".hidden");
}

TEST(NameMapping, OtherBytesAreEscapedStablyAndOneToOne) {
  EXPECT_EQ(MapLibraryName("A B"), "a%20b");
  EXPECT_EQ(MapLibraryName("50%"), "50%25");  // the escape character escapes itself
  EXPECT_EQ(MapLibraryName("a\\b:c"), "a%5cb%3ac");
  EXPECT_EQ(MapLibraryName("\xC3\xA9t\xC3\xA9"), "%c3%a9t%c3%a9");
  // The same name maps the same way every time; different names stay different.
  EXPECT_EQ(MapLibraryName("x y"), MapLibraryName("x y"));
  EXPECT_NE(MapLibraryName("a%20b"), MapLibraryName("a b"));
}

TEST(NameMapping, NamesThatCannotBeMappedGiveNone) {
  for (const std::string& name :
       {std::string(), std::string("."), std::string(".."), std::string("/"),
        std::string("lib/cell"), std::string("a\0b", 3), std::string(256, 'x'),
        std::string(86, ' ')}) {  // 86 blanks escape to 258 bytes
    EXPECT_FALSE(MapLibraryName(name).has_value()) << "name of " << name.size() << " bytes";
  }
  EXPECT_TRUE(MapLibraryName(std::string(255, 'x')).has_value());
}

TEST(NameMapping, MapperRunsBothConversionsAndLeavesTheBufferAloneOnRefusal) {
  std::string out = "untouched";
  EXPECT_EQ(nimraMapper(nimraTesselToIdent, nimraIdentToLibraryUnix, "..", 0, out), nullptr);
  EXPECT_EQ(out, "untouched");
  std::string* mapped = nimraMapper(nimraTesselToIdent, nimraIdentToLibraryUnix, "Q 1", 0, out);
  ASSERT_EQ(mapped, &out);
  EXPECT_EQ(out, "Q%201");  // the mapper keeps case; MapLibraryName lower-cases
  EXPECT_EQ(nimraMapper(nullptr, nimraIdentToLibraryUnix, "a", 0, out), nullptr);
}
