// Variable expansion: every reference form, the errors, separator dropping, QVD_INST_DIR.
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/qvdCommon.h"
#include "projectfile/SpiExpandVariables.h"

namespace {

struct Expansion {
  int result;
  std::string text;  // the expansion, or the error message
};

Expansion Expand(const std::string& input) {
  std::string expanded = "<unset>";
  std::string error = "<unset>";
  const int result = SpiExpandVariables(input, expanded, error);
  return {result, result == 1 ? expanded : error};
}

class ExpandVariables : public testing::Test {
 protected:
  void SetUp() override {
    setenv("HOME", "/u/", 1);
    setenv("SPI_T_PLAIN", "plain", 1);
    unsetenv("A");
  }
};

TEST_F(ExpandVariables, ReferencesAreReplaced) {
  EXPECT_EQ(Expand("$HOME/x").text, "/u/x");
  EXPECT_EQ(Expand("${HOME}/bin").text, "/u/bin");
  EXPECT_EQ(Expand("$(SPI_T_PLAIN).tak").text, "plain.tak");
  EXPECT_EQ(Expand("a${SPI_T_PLAIN}b$SPI_T_PLAIN-c").text, "aplainbplain-c");
  // A "$" that ends a name is copied as it is and starts no reference.
  EXPECT_EQ(Expand("$HOME$A").text, "/u$A");
  EXPECT_EQ(Expand("no references").text, "no references");
  EXPECT_EQ(Expand("").result, 1);
  EXPECT_EQ(Expand("${QVD_INST_DIR}").text, qvdGetInstallRoot());
  EXPECT_EQ(Expand("$QVD_INST_DIR/share").text, qvdGetInstPath("share"));
}

TEST_F(ExpandVariables, FailuresSayWhy) {
  EXPECT_EQ(Expand("${A}").result, 0);
  EXPECT_EQ(Expand("${A}").text, "Environment Variable A not set");
  EXPECT_EQ(Expand("${}").text, "Environment Variable  not set");
  EXPECT_EQ(Expand("$(A)").text, "Environment Variable A not set.");
  EXPECT_EQ(Expand("$A/x").text, "Environment variable A not set.");
  EXPECT_EQ(Expand("${HO-ME}").text, "Invalid character - found in environment variable name");
  EXPECT_EQ(Expand("${HOME").text, "Closing '}' not found.");
  Expansion open = Expand("$(HOME");
  EXPECT_EQ(open.result, 0);
  EXPECT_EQ(open.text, "");
  EXPECT_EQ(Expand("cost $5.00 and $!").text, "Environment variable 5 not set.");
  EXPECT_EQ(Expand("x$!").text, "Invalid character ! found after '${'");
  EXPECT_EQ(Expand("trailing $").result, 0);
}

}  // namespace
