// The command file rx.dat and the rule selection it is written from.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "TempDir.h"
#include "verify/rulex/RulexCommandFile.h"
#include "verify/rulex/RulexRules.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

const std::string kRoot = "/opt/kestra";
const std::string kFolder = kRoot + "/share/qvdsetup/lman/rulex";

}  // namespace

TEST(RulexCommandFile, OneCellAllRulesLineByLine) {
  TempDir dir;
  const auto path = (dir.path() / "rx.dat").string();
  ASSERT_TRUE(WriteRulexCommandFile(path, "ttl", "ls00", MakeRuleList(kAllRulexRules), kRoot));
  const std::string text = ReadFile(path);
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "\"ttl.ls00\"");
  EXPECT_EQ(lines[1], "-r " + kFolder + "/precompiled_body.rle");
  EXPECT_EQ(lines[2], "-r " + kFolder +
                          "/mldrules.rle  origin_non_centered Tristatepin_output_load "
                          "Tristatepin_input_load body_file_namechipsprt_cross_check prop_present "
                          "body_to_physical_check physical_to_body_check");
  EXPECT_EQ(lines[3], "-I " + kFolder);
  EXPECT_NE(text.back(), '\n') << "the last line has no line end";
}

TEST(RulexCommandFile, WholeLibraryAndSingleRules) {
  // No cell (also what three selected cells come to): the library alone in quotes.
  const std::string whole = ComposeRulexCommandFile("ttl", "", MakeRuleList(kAllRulexRules), kRoot);
  EXPECT_EQ(Lines(whole)[0], "\"ttl\"");

  // Only "Consistent symbol name": bit 2, one word of 34 characters.
  const auto lines = Lines(ComposeRulexCommandFile("ttl", "", MakeRuleList(1u << 2), kRoot));
  EXPECT_EQ(lines[2], "-r " + kFolder + "/mldrules.rle  body_file_namechipsprt_cross_check");
  EXPECT_EQ(std::string(RulexRuleTable()[2].ruleText).size(), 34u);

  // The writer stops at -1: flags after it are not rules.
  std::vector<int> rules = {0, 0, 0, 0, 1, -1, 1, 1};
  EXPECT_EQ(Lines(ComposeRulexCommandFile("l", "", rules, kRoot))[2],
            "-r " + kFolder + "/mldrules.rle  body_to_physical_check physical_to_body_check");
  rules = {1, -1};
  EXPECT_EQ(Lines(ComposeRulexCommandFile("l", "", rules, kRoot))[2],
            "-r " + kFolder + "/mldrules.rle  origin_non_centered");
}

TEST(RulexCommandFile, NamesWithBlanksAndQuotesStayIntact) {
  const std::string text =
      ComposeRulexCommandFile("my lib", "cell \"A\"", MakeRuleList(kAllRulexRules), kRoot);
  EXPECT_EQ(Lines(text)[0], "\"my lib.cell \"A\"\"");
}

TEST(RulexCommandFile, ReplacesOldFileAndReportsUnwritablePath) {
  TempDir dir;
  const auto path = dir.write("rx.dat", std::string(4000, 'x')).string();
  ASSERT_TRUE(WriteRulexCommandFile(path, "a", "", MakeRuleList(1), kRoot));
  EXPECT_EQ(ReadFile(path), ComposeRulexCommandFile("a", "", MakeRuleList(1), kRoot));

  ASSERT_TRUE(EmptyRulexCommandFile(path));
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);

  // The same content again keeps the file (same inode); a hard-linked or longer file with that
  // content as its beginning is replaced.
  const std::string text = ComposeRulexCommandFile("a", "", MakeRuleList(1), kRoot);
  dir.write("rx.dat", text);
  const auto inode = [&] {
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
  };
  const auto before = inode();
  ASSERT_TRUE(WriteRulexCommandFile(path, "a", "", MakeRuleList(1), kRoot));
  EXPECT_EQ(inode(), before);
  dir.write("rx.dat", text + "x");
  ASSERT_TRUE(WriteRulexCommandFile(path, "a", "", MakeRuleList(1), kRoot));
  EXPECT_EQ(ReadFile(path), text);
  std::filesystem::create_hard_link(path, dir.path() / "other");
  const auto linked = inode();
  ASSERT_TRUE(WriteRulexCommandFile(path, "a", "", MakeRuleList(1), kRoot));
  EXPECT_NE(inode(), linked);

  const auto missing = (dir.path() / "no-such-dir" / "rx.dat").string();
  EXPECT_FALSE(WriteRulexCommandFile(missing, "a", "", MakeRuleList(1), kRoot));
  EXPECT_FALSE(EmptyRulexCommandFile(missing));
}

TEST(RulexRules, SelectionWordListAndNames) {
  EXPECT_EQ(MakeRuleList(kAllRulexRules), (std::vector<int>{1, 1, 1, 1, 1, -1}));
  EXPECT_EQ(MakeRuleList(0b10010), (std::vector<int>{0, 1, 0, 0, 1, -1}));
  EXPECT_FALSE(AnyRuleSelected(MakeRuleList(0)));
  EXPECT_TRUE(AnyRuleSelected(MakeRuleList(1u << 4)));
  EXPECT_FALSE(AnyRuleSelected({0, -1, 1}));

  std::string unknown;
  EXPECT_EQ(ParseRuleNames("origin,pins", unknown), std::optional<std::uint16_t>(0b10001));
  EXPECT_EQ(ParseRuleNames("symbol-name", unknown), std::optional<std::uint16_t>(0b00100));
  EXPECT_EQ(ParseRuleNames("origin,tristate,symbol-name,properties,pins", unknown),
            std::optional<std::uint16_t>(kAllRulexRules));
  EXPECT_FALSE(ParseRuleNames("origin,bogus", unknown));
  EXPECT_EQ(unknown, "bogus");
  EXPECT_FALSE(ParseRuleNames("origin,", unknown));
  EXPECT_EQ(unknown, "");
  EXPECT_FALSE(ParseRuleNames("", unknown));

  // Captions and controls of the check boxes, in the order of the bits.
  const auto& table = RulexRuleTable();
  EXPECT_EQ(table[0].controlId, 13025);
  EXPECT_EQ(table[1].controlId, 13027);
  EXPECT_EQ(table[2].controlId, 13026);
  EXPECT_EQ(table[4].caption, "C&onsistent symbol and package pin list");
}
