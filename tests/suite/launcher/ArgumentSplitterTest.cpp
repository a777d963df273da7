// Argument texts reach a real child process (the argv printer) as the words the Windows
// command-line rules give, with nothing interpreted by a shell.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <nlohmann/json.hpp>

#include "OwnerRecorder.h"
#include "TempDir.h"
#include "framework/Prompter.h"
#include "outside/CToolLauncher.h"
#include "suite/launcher/ArgumentSplitter.h"

namespace {

using Words = std::vector<std::string>;

// Starts the argv printer with text as its argument text and returns the words it saw.
Words WordsSeenByChild(const std::string& text) {
  CToolLauncher launcher;
  OwnerRecorder owner(launcher);
  launcher.launchRulex(text, "P", &owner);
  EXPECT_TRUE(owner.WaitForEnd());
  const auto parsed = nlohmann::json::parse(owner.Text(), nullptr, false);
  if (!parsed.is_array()) {
    ADD_FAILURE() << "not an argv line: " << owner.Text();
    return {};
  }
  return parsed.get<Words>();
}

class ArgumentSplitting : public ::testing::Test {
 protected:
  void SetUp() override { setenv("KESTRA_TOOL_RULEX", ARGVPRINT, 1); }
  void TearDown() override { unsetenv("KESTRA_TOOL_RULEX"); }
};

TEST_F(ArgumentSplitting, QuotesBlanksAndBackslashesReachTheChildAsSplit) {
  const std::vector<std::pair<std::string, Words>> cases = {
      {R"( -proj "/d/my proj/p.tak")", {"-proj", "/d/my proj/p.tak"}},
      {"a  \t b ", {"a", "b"}},
      {"", {}},
      {R"("")", {""}},
      {R"(a "" b)", {"a", "", "b"}},
      {R"(ab"c d"ef)", {"abc def"}},
      {R"(a\b c:\dir\)", {R"(a\b)", R"(c:\dir\)"}},
      {R"(a\"b)", {R"(a"b)"}},
      {R"(a\\"b c")", {R"(a\b c)"}},
      {R"(a\\\"b)", {R"(a\"b)"}},
      {R"("c:\dir\\" next)", {R"(c:\dir\)", "next"}},
      {R"("say ""hi""")", {R"(say "hi")"}},
      {R"("unclosed quote)", {"unclosed quote"}},
  };
  for (const auto& [text, words] : cases) {
    EXPECT_EQ(SplitArguments(text), words) << "text: [" << text << "]";
    EXPECT_EQ(WordsSeenByChild(text), words) << "text: [" << text << "]";
  }
}

TEST_F(ArgumentSplitting, ShellMetacharactersStayLiteral) {
  TempDir dir;
  const std::string marker = dir.str() + "/ran";
  const std::string text = "; touch " + marker + " $(touch " + marker + ") `touch " + marker +
                           "` | && > " + marker + " '*' ~ $HOME";
  const Words seen = WordsSeenByChild(text);
  const Words expected = {";", "touch", marker, "$(touch", marker + ")", "`touch", marker + "`",
                          "|", "&&",    ">",    marker,    "'*'",        "~",      "$HOME"};
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(std::filesystem::exists(marker)) << "a shell interpreted the text";
}

}  // namespace
