#include <gtest/gtest.h>

#include "verify/FlowWords.h"

TEST(FlowWords, ValuesFlagsAndTheReasonsWordsAreRefused) {
  std::string error;
  const auto given =
      FlowWords::Parse({"-cell", "a", "-ref", "-lib", "L", "-cell", "b", "-proj", "p"}, {"-ref"},
                       {"-proj", "-lib", "-cell"}, {"-proj", "-lib"}, error);
  ASSERT_TRUE(given) << error;
  EXPECT_TRUE(given->Has("-ref"));
  EXPECT_FALSE(given->Has("-rules"));
  EXPECT_EQ(given->Values("-cell"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(given->Value("-cell"), "b");
  EXPECT_EQ(given->Value("-rules"), "");

  const auto refused = [](std::vector<std::string> words) {
    std::string why;
    EXPECT_FALSE(FlowWords::Parse(words, {"-ref"}, {"-proj", "-lib"}, {"-proj", "-lib"}, why));
    return why;
  };
  EXPECT_EQ(refused({"-proj", "p", "-lib", "L", "-x"}), "unknown option -x");
  EXPECT_EQ(refused({"-proj", "p", "-lib"}), "-lib needs a value");
  EXPECT_EQ(refused({"-proj", "p", "stray"}), "stray: unexpected");
  EXPECT_EQ(refused({"-ref", "-proj", "p"}), "-proj and -lib are required");
  // An empty value counts as not given.
  EXPECT_EQ(refused({"-proj", "", "-lib", "L"}), "-proj and -lib are required");
}

TEST(FlowWords, WholeNumbersWithinTheirBounds) {
  std::string error;
  EXPECT_EQ(ParseWholeNumber("-j", "4", 1, 64, "parts", error), 4);
  for (const char* bad : {"0", "65", "2x", "", "-1", " 3"}) {
    EXPECT_FALSE(ParseWholeNumber("-j", bad, 1, 64, "parts", error)) << bad;
    EXPECT_EQ(error, std::string("-j needs a number of parts from 1 to 64, not \"") + bad + "\"");
  }
}
