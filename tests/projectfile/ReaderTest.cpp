// Reading project files: the worked example, messages with line numbers, bad input.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "ReadHelpers.h"
#include "projectfile/SpiArena.h"
#include "projectfile/SpiLastMessage.h"
#include "projectfile/SpiNameIndex.h"
#include "projectfile/SpiWriter.h"

namespace {

TEST(Reader, WorkedExampleGivesTheDescribedModel) {
  TempDir dir;
  ReadOutcome read;
  ReadText(dir, ReadFile(KESTRA_SOURCE_DIR "/tests/projectfile/golden/example.tak"), read);
  ASSERT_EQ(read.result, 0) << SpiLastMessage();
  ASSERT_EQ(read.programs.Programs().size(), 1u);
  const CSpiProgram& global = *read.programs.Programs()[0];
  EXPECT_EQ(global.name, "GLOBAL");
  EXPECT_EQ(global.level, 2);
  std::vector<std::string> names;
  for (const auto& d : global.Directives()) names.emplace_back(d->name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"library", "cells", "DESIGN_NAME", "list", "alone", ""}));
  EXPECT_EQ(ValuesOf(read.programs, "global", "LIBRARY"), "a b|c");
  EXPECT_EQ(ValuesOf(read.programs, "GLOBAL", "cells"), "x|y");
  EXPECT_EQ(global.FindDirective("cells")->doubleQuoted, 1);
  EXPECT_EQ(global.FindDirective("library")->doubleQuoted, 0);
  EXPECT_EQ(ValuesOf(read.programs, "GLOBAL", "design_name"), "");
  EXPECT_EQ(ValuesOf(read.programs, "GLOBAL", "list"), "a|b|c");
  EXPECT_EQ(ValuesOf(read.programs, "GLOBAL", "alone"), "|d");
  EXPECT_EQ(global.FindDirective("alone")->Values(2).Size(), 2u);
  EXPECT_TRUE(global.FindDirective("")->Values(2).Empty());
  const CSpiDirective& library = *global.FindDirective("library");
  EXPECT_TRUE(library.ControlPresent(2));
  EXPECT_EQ(library.Controls(2).Values(), std::vector<std::string>{"lock"});
  EXPECT_TRUE(library.projectSet);
  EXPECT_FALSE(library.userSet);
  EXPECT_EQ(library.winningLevel, 2);
}

TEST(Reader, FormatErrorsCarryLineNumbersAndPaths) {
  TempDir dir;
  {
    ReadOutcome read;
    ReadText(dir, "{ c }\n\nstray line\n", read);
    EXPECT_EQ(read.result, -1);
    EXPECT_EQ(SpiLastMessage(),
              "SPI_ERROR: Line 3 does not fall in START_<program>..END_<program> section.\n"
              "Incorrect project file " +
                  read.path + ".");
  }
  {  // A quoted value without its closing quote fails the whole read, keeping what came before.
    ReadOutcome read;
    ReadText(dir, "START_A\nx 1\ny 'open\nz 2\nEND_A\n", read);
    EXPECT_EQ(read.result, -1);
    EXPECT_EQ(SpiLastMessage(),
              "SPI_ERROR: Missing closing quote at line 3 in \"" + read.path + "\"");
    EXPECT_EQ(ValuesOf(read.programs, "A", "x"), "1");
  }
  {  // A quoted name without its closing quote ends the section; what follows is outside.
    ReadOutcome read;
    ReadText(dir, "START_A\n'bad name\nz 2\nEND_A\n", read);
    EXPECT_EQ(read.result, -1);
    EXPECT_NE(SpiLastMessage().find("Line 3 does not fall in"), std::string::npos);
  }
  {  // The end of the file where a continuation line is expected.
    ReadOutcome read;
    ReadText(dir, "START_A\nx 1 \\", read);
    EXPECT_EQ(read.result, -1);
    EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to read line 3 in \"" + read.path + "\"");
  }
  {  // The end of the file inside a section is accepted with everything read.
    ReadOutcome read;
    ReadText(dir, "START_A\nx 1\ny 2\n", read);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(ValuesOf(read.programs, "A", "y"), "2");
    EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to read line 4 in \"" + read.path + "\"");
  }
}

TEST(Reader, LineEndsQuotingAndContinuationCorners) {
  TempDir dir;
  ReadOutcome read;
  ReadText(dir,
           "START_P\r\n"
           "crlf 'v1' v2\r\n"
           "path C:\\tools\\\r\n"
           "next\r\n"
           "mid a\\b c\r\n"
           "tabbed\tx y\r\n"
           "quotes \"it's\" 'say \"hi\"'\r\n"
           "'name with blank' v\r\n"
           "dup first\r\n"
           "DUP second\r\n"
           "END_P\r\n"
           "START_p\r\n"
           "other 1\r\n"
           "end_p",
           read);
  ASSERT_EQ(read.result, 0) << SpiLastMessage();
  ASSERT_EQ(read.programs.Programs().size(), 1u);  // two sections of one program merge
  EXPECT_EQ(ValuesOf(read.programs, "P", "crlf"), "v1|v2");
  // A backslash last on a line continues it and is dropped; elsewhere it is ordinary.
  EXPECT_EQ(ValuesOf(read.programs, "P", "path"), "C:\\tools|next");
  EXPECT_EQ(ValuesOf(read.programs, "P", "mid"), "a\\b|c");
  // The name ends at the first blank even when a tab comes earlier.
  EXPECT_EQ(ValuesOf(read.programs, "P", "tabbed\tx"), "y");
  EXPECT_EQ(ValuesOf(read.programs, "P", "quotes"), "it's|say \"hi\"");
  EXPECT_EQ(ValuesOf(read.programs, "P", "name with blank"), "v");
  EXPECT_EQ(ValuesOf(read.programs, "P", "dup"), "second");  // the last line wins
  EXPECT_EQ(ValuesOf(read.programs, "P", "other"), "1");
}

TEST(Reader, ArbitraryBytesNeverCrash) {
  TempDir dir;
  const std::string hugeValue(3 << 20, 'v');
  const std::string cases[] = {
      "",
      std::string("START_A\nx \0\xff\xfe 'q\0'\nEND_A\n", 26),
      "START_A\nx " + hugeValue + "\nEND_A\n",
      "START_A " + hugeValue,
      "START_A\n\"unterminated",
      "START_A\nx 'a' 'b",
      "START_\n\nEND_\n",
      "\\\n\\\n",
  };
  for (const auto& text : cases) {
    ReadOutcome read;
    ReadText(dir, text, read);
    EXPECT_TRUE(read.result == 0 || read.result == -1) << text.substr(0, 40);
  }
  ReadOutcome huge;
  ReadText(dir, "START_A\nx " + hugeValue + "\nEND_A\n", huge);
  EXPECT_EQ(ValuesOf(huge.programs, "A", "x").size(), hugeValue.size());
}

// Reads path whole, or streamed with every line kept or passed over (as a lookup reads).
// The result; message and formatted model (level 2, control sections included) set.
int ReadAs(const std::string& path, bool stream, bool keep, std::string& message,
           std::string& model) {
  CSpiProgramList programs;
  CSpiFile file;
  if (file.Open(path) != 0) return -2;
  SpiReadPolicy policy;
  if (stream) {
    file.Stream();
    policy.wanted = [keep](const CSpiProgram&, std::string_view, std::uint32_t) { return keep; };
    policy.wantedProgram = [keep](std::string_view) { return keep; };
  }
  SpiSetLastMessage("");
  const int result = SpiReadFile(programs, file, 2, policy);
  message = SpiLastMessage();
  model.clear();
  SpiFormatLevel(programs, 2, model);
  return result;
}

TEST(Reader, StreamedOrPassedOverLinesReadAsTheWholeFile) {
  TempDir dir;
  // Random files of the pieces that decide where values, lines and sections end.
  const std::string pieces[] = {"START_A\n",
                                "END_A\n",
                                "start_a_control_settings\n",
                                "END_A_CONTROL_SETTINGS\n",
                                "x",
                                "Yz",
                                " ",
                                " ",
                                "\t",
                                "'",
                                "\"",
                                "\\",
                                "\\\n",
                                "\n",
                                "\r\n",
                                "{c}",
                                "lock"};
  std::mt19937 random(28);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 40); i > 0; --i)
      text += pieces[random() % std::size(pieces)];
    const std::string path = dir.write("r.tak", text).string();
    std::string message[3];
    std::string model[3];
    const int whole = ReadAs(path, false, false, message[0], model[0]);
    EXPECT_EQ(ReadAs(path, true, true, message[1], model[1]), whole) << text;
    EXPECT_EQ(ReadAs(path, true, false, message[2], model[2]), whole) << text;
    EXPECT_EQ(message[1], message[0]) << text;
    EXPECT_EQ(message[2], message[0]) << text;
    EXPECT_EQ(model[1], model[0]) << text;
    EXPECT_EQ(model[2], "") << text;
  }
  // Lines that cross the streamed pieces, one longer than a piece, continuation lines.
  std::string text = "START_A\n";
  for (int i = 0; i < 30000; ++i) {
    text += "d" + std::to_string(i) + " 'v " + std::to_string(i) + "' w \\\n \"z\"\n";
    if (i == 20000) text += "long '" + std::string(600 << 10, 'v') + "'\n";
  }
  const std::string path = dir.write("r.tak", text + "END_A\n").string();
  std::string message[2];
  std::string model[2];
  EXPECT_EQ(ReadAs(path, false, false, message[0], model[0]), 0);
  EXPECT_EQ(ReadAs(path, true, true, message[1], model[1]), 0);
  EXPECT_EQ(model[1].size(), model[0].size());
  EXPECT_TRUE(model[1] == model[0]);
}

}  // namespace

namespace {

TEST(Model, LookupsIgnoreCaseAndTakeTheFirstMatch) {
  CSpiProgramList programs;
  CSpiProgram& first = programs.Append("Global", 2);
  CSpiProgram& second = programs.Append("GLOBAL", 2);  // callers may add a duplicate
  EXPECT_EQ(programs.Find("global"), &first);
  EXPECT_NE(&first, &second);
  EXPECT_EQ(programs.Find("GLOBALS"), nullptr);
  // Enough names to make the index grow several times, looked up in other cases.
  std::vector<CSpiDirective*> made;
  for (int i = 0; i < 5000; ++i)
    made.push_back(&first.AppendDirective("Name_" + std::to_string(i), 2));
  CSpiDirective& duplicate = first.AppendDirective("NAME_7", 3);
  for (int i = 0; i < 5000; ++i) {
    const std::string upper = "NAME_" + std::to_string(i);
    ASSERT_EQ(first.FindDirective(upper), made[i]) << upper;
  }
  EXPECT_NE(first.FindDirective("name_7"), &duplicate);
  EXPECT_EQ(first.FindDirective("name_5000"), nullptr);
  EXPECT_EQ(first.FindDirective(""), nullptr);
  programs.Clear();
  EXPECT_EQ(programs.Find("Global"), nullptr);
}

}  // namespace

namespace {

TEST(Model, ValuesAddedLaterLiveInTheArenaAndViewsStayValid) {
  TempDir dir;
  ReadOutcome read;
  ReadText(dir, "START_A\nx 'one' two\nEND_A\n", read);
  ASSERT_EQ(read.result, 0);
  CSpiDirective& x = *read.programs.Find("A")->FindDirective("X");
  CSpiValueList& list = x.ValuesAt(2, read.programs.Arena());
  const SpiValueView before = list.Values();
  std::string value;
  list.Rewind();
  ASSERT_TRUE(list.Next(value));
  // Appending (a caller's text, copied) keeps the cursor and leaves the earlier view intact.
  std::string added = "three";
  list.Append(added, read.programs.Arena());
  added.assign("overwritten");
  EXPECT_EQ(list.Values(), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(before, (std::vector<std::string>{"one", "two"}));
  ASSERT_TRUE(list.Next(value));
  EXPECT_EQ(value, "two");
  ASSERT_TRUE(list.Next(value));
  EXPECT_EQ(value, "three");
  EXPECT_FALSE(list.Next(value));
  // Empty values keep their place among others.
  const std::string_view mixed[] = {"", "a", ""};
  list.Assign(mixed, read.programs.Arena());
  EXPECT_EQ(list.Values(), (std::vector<std::string>{"", "a", ""}));
  // Many appends, each copied once more with the list: all still readable.
  CSpiDirective& y = read.programs.Find("a")->AppendDirective(std::string("added"), 2);
  for (int i = 0; i < 300; ++i)
    y.ValuesAt(2, read.programs.Arena()).Append(std::to_string(i), read.programs.Arena());
  ASSERT_EQ(y.Values(2).Size(), 300u);
  EXPECT_EQ(y.Values(2).Values()[299], "299");
  EXPECT_EQ(read.programs.Find("A")->FindDirective("ADDED"), &y);
  EXPECT_EQ(read.programs.Find("A")->Directives().size(), 2u);
  // Control words exist only once written.
  EXPECT_TRUE(x.Controls(1).Empty());
  x.ControlsAt(1, read.programs.Arena()).Append("lock", read.programs.Arena());
  EXPECT_TRUE(x.Controls(1).ContainsIgnoringCase("LOCK"));
  EXPECT_TRUE(x.Controls(0).Empty());
  // Each level keeps its own values, whichever level wrote first; clearing one leaves the others.
  x.ValuesAt(0, read.programs.Arena()).Append("installed", read.programs.Arena());
  EXPECT_EQ(x.Values(0).Values(), std::vector<std::string>{"installed"});
  EXPECT_EQ(x.Values(2).Values(), (std::vector<std::string>{"", "a", ""}));
  EXPECT_TRUE(x.Values(1).Empty());
  x.ClearValues(2);
  EXPECT_TRUE(x.Values(2).Empty());
  EXPECT_EQ(x.Values(0).Size(), 1u);
  // One release; the model can be filled again.
  read.programs.Clear();
  EXPECT_EQ(read.programs.Find("A"), nullptr);
  EXPECT_EQ(read.programs.DirectiveCount(), 0u);
  CSpiFile file;
  ASSERT_EQ(file.Open(read.path), 0);
  ASSERT_EQ(SpiReadFile(read.programs, file, 2), 0);
  EXPECT_EQ(ValuesOf(read.programs, "A", "x"), "one|two");
}

TEST(Model, ArenaAlignsCopiesAndGrowsForLargeRequests) {
  SpiArena arena;
  EXPECT_EQ(arena.BytesHeld(), 0u);
  char* byte = static_cast<char*>(arena.Allocate(1, 1));
  auto* wide = static_cast<std::uint64_t*>(arena.Allocate(8, 8));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide) % 8, 0u);
  EXPECT_NE(static_cast<void*>(byte), static_cast<void*>(wide));
  const std::string_view copy = arena.Copy("text");
  EXPECT_EQ(copy, "text");
  // A request larger than any block so far gets a block of its own size.
  char* large = static_cast<char*>(arena.Allocate(10u << 20, 1));
  large[(10u << 20) - 1] = 'x';
  EXPECT_GE(arena.BytesHeld(), 10u << 20);
  EXPECT_EQ(copy, "text");  // earlier allocations stay where they are
  arena.Release();
  EXPECT_EQ(arena.BytesHeld(), 0u);
}

}  // namespace

namespace {

TEST(Model, ValuesOfOneLineNearAndFarApartReadBack) {
  TempDir dir;
  // Lists whose values span just under 64 KB, just over it and far over it (a value longer
  // than 64 KB, and one after it), and a section large enough for the reader to look names up
  // ahead, where later lines name earlier directives in other cases and quoted.
  const std::string near(65532, 'n');  // from 'a' to its end: 65535 bytes
  const std::string at(65533, 't');    // 65536
  std::string text = "START_A\nnear 'a' " + near + "\nat 'a' " + at + "\nfar x '" +
                     std::string(70000, 'f') + "' y\n";
  for (int i = 0; i < 20000; ++i) text += "d" + std::to_string(i) + " v" + std::to_string(i) + "\n";
  text += "D5 second\n'd7' quoted\nEND_A\n";
  ReadOutcome read;
  ReadText(dir, text, read);
  ASSERT_EQ(read.result, 0);
  EXPECT_EQ(ValuesOf(read.programs, "A", "near"), "a|" + near);
  EXPECT_EQ(ValuesOf(read.programs, "A", "at"), "a|" + at);
  EXPECT_EQ(ValuesOf(read.programs, "A", "far"), "x|" + std::string(70000, 'f') + "|y");
  EXPECT_EQ(ValuesOf(read.programs, "A", "d19999"), "v19999");
  EXPECT_EQ(ValuesOf(read.programs, "A", "d5"), "second");
  EXPECT_EQ(ValuesOf(read.programs, "A", "d7"), "quoted");
  EXPECT_EQ(read.programs.DirectiveCount(), 20003u);
  // The cursor walks a list of either kind.
  CSpiValueList& far =
      read.programs.Find("A")->FindDirective("far")->ValuesAt(2, read.programs.Arena());
  std::string value;
  far.Rewind();
  ASSERT_TRUE(far.Next(value));
  ASSERT_TRUE(far.Next(value));
  EXPECT_EQ(value.size(), 70000u);
  ASSERT_TRUE(far.Next(value));
  EXPECT_EQ(value, "y");
  EXPECT_FALSE(far.Next(value));
}

TEST(Reader, ValuesOfEveryLengthEndWhereTheyShould) {
  // Values and names of 0 to 19 bytes, quoted and bare, at every place relative to the
  // reader's eight-byte steps; the other quote and blanks inside quotes are part of a value.
  TempDir dir;
  std::string text = "START_A\n";
  std::string expected;
  for (std::size_t length = 0; length < 20; ++length) {
    std::string word;
    for (std::size_t i = 0; i < length; ++i) word += static_cast<char>('a' + i % 26);
    const std::string quoted = length > 2 ? word.substr(0, 1) + "\" " + word.substr(1) : word;
    text += "n" + word + " '" + quoted + "' " + word + "x \"" + word + "\"\n";
    expected += quoted + "|" + word + "x|" + word + ";";
  }
  text += "END_A\n";
  ReadOutcome read;
  ReadText(dir, text, read);
  ASSERT_EQ(read.result, 0);
  std::string got;
  for (const CSpiDirective* d : read.programs.Find("A")->Directives())
    got += ValuesOf(read.programs, "A", std::string(d->name)) + ";";
  EXPECT_EQ(got, expected);
}

TEST(Model, NameHashIgnoresCaseAndSeesEveryByte) {
  for (std::size_t length = 1; length <= 40; ++length) {
    std::string name;
    for (std::size_t i = 0; i < length; ++i) name += static_cast<char>('a' + i % 26);
    const std::uint32_t hash = SpiNameIndex::Hash(name);
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    EXPECT_EQ(SpiNameIndex::Hash(upper), hash) << name;
    EXPECT_NE(SpiNameIndex::Hash(name, 1), hash) << name;
    for (std::size_t at = 0; at < length; ++at) {
      std::string changed = name;
      changed[at] = changed[at] == 'z' ? 'y' : 'z';
      EXPECT_NE(SpiNameIndex::Hash(changed), hash) << changed;
    }
    EXPECT_NE(SpiNameIndex::Hash(name + "_"), hash) << name;
  }
}

}  // namespace
