// What the format can hold: for names and values built to trip the reader, the check says
// "writable" exactly when writing and reading back gives the same model.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ReadHelpers.h"
#include "projectfile/SpiText.h"
#include "projectfile/SpiWritable.h"
#include "projectfile/SpiWriter.h"

namespace {

// The written level of a one-directive model read back the same (names ignoring case, as
// every lookup does; values exactly).
bool RoundTrips(const TempDir& dir, const CSpiProgramList& model, const std::string& program,
                const std::string& name, const std::vector<std::string>& values, bool control) {
  std::string text = SpiFormatHeader("SPI", "{", "}", std::nullopt);
  SpiFormatLevel(model, 2, text);
  ReadOutcome back;
  // A new file each time: rewriting one in place makes some file systems flush it to disk.
  std::filesystem::remove(dir.path() / "read.tak");
  ReadText(dir, text, back);
  if (back.result != 0 || back.programs.Programs().size() != 1) return false;
  const CSpiProgram& p = *back.programs.Programs()[0];
  if (!spi::EqualsIgnoringCase(p.name, program) || p.Directives().size() != 1) return false;
  const CSpiDirective& d = **p.Directives().begin();
  if (!spi::EqualsIgnoringCase(d.name, name)) return false;
  const auto same = [&values](const CSpiValueList& list) {
    std::vector<std::string> read;
    for (const auto value : list.Values()) read.emplace_back(value);
    return read == values;
  };
  return control ? d.ControlPresent(2) && same(d.Controls(2)) : d.projectSet && same(d.Values(2));
}

TEST(Writable, TheCheckAgreesWithWritingAndReadingBack) {
  TempDir dir;
  const std::vector<std::string> programs = {
      "GLOBAL", "global", "A'B", "", "X Y", "A\tB", "A{B", "P_CONTROL_SETTINGS", "A\nB", "A\rB"};
  const std::vector<std::string> names = {"x",          "design_name",
                                          "",           "x y",
                                          "x\ty",       "'x",
                                          "\"x",        "'x y",
                                          "a'b",        "a' \"b",
                                          "a'\"b",      "END_GLOBAL",
                                          "end_global", "END_GLOBAL_CONTROL_SETTINGS",
                                          "END_P",      "x{y",
                                          "{x",         "a\nb",
                                          "\rx",        "x\r",
                                          "\vx",        "x\v",
                                          "x\fy",       "'",
                                          "\"",         " x",
                                          "x ",         "START_GLOBAL",
                                          "a\\"};
  const std::vector<std::vector<std::string>> valueLists = {
      {},        {"v"},    {""},    {"a b"}, {"a'b"}, {"a\"b"},
      {"a'\"b"}, {"a\nb"}, {"x\\"}, {"\\"},  {"{c"},  {" lead", "trail "},
      {"a\rb"},  {"\t"}};
  int checked = 0;
  for (const auto& program : programs) {
    for (const auto& name : names) {
      for (const auto& values : valueLists) {
        for (const bool control : {false, true}) {
          CSpiProgramList model;
          CSpiDirective& d = model.Append(program, 2).AppendDirective(name, 2);
          if (control)
            d.SetControlPresent(2, model.Arena());
          else
            d.projectSet = true;
          CSpiValueList& list =
              control ? d.ControlsAt(2, model.Arena()) : d.ValuesAt(2, model.Arena());
          for (const auto& v : values) list.Append(v, model.Arena());
          const bool writable = SpiLevelProblem(model, 2).empty();
          EXPECT_EQ(writable, RoundTrips(dir, model, program, name, values, control))
              << "program \"" << SpiShown(program) << "\" name \"" << SpiShown(name) << "\" values "
              << values.size() << (values.empty() ? "" : " \"" + SpiShown(values[0]) + "\"")
              << (control ? " (control)" : "") << ": " << SpiLevelProblem(model, 2);
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 1000);
}

TEST(Writable, DirectivesTwiceInOneProgramNameAreRefused) {
  CSpiProgramList model;
  model.Append("GLOBAL", 2).AppendDirective("x", 2).projectSet = true;
  model.Append("global", 2).AppendDirective("X", 2).projectSet = true;
  EXPECT_EQ(SpiLevelProblem(model, 2),
            "The directive \"global:X\" is in the project twice; a project file read back "
            "would keep only one of them.");
  // Different directives in two sections of one program read back merged, and that is fine.
  CSpiProgramList merged;
  merged.Append("GLOBAL", 2).AppendDirective("x", 2).projectSet = true;
  merged.Append("GLOBAL", 2).AppendDirective("y", 2).projectSet = true;
  EXPECT_EQ(SpiLevelProblem(merged, 2), "");
  // Only the level that is written counts.
  EXPECT_EQ(SpiLevelProblem(model, 3), "");
}

TEST(Writable, MessagesShowControlCharactersEscaped) {
  EXPECT_EQ(SpiShown("a\nb\r\t\x1b[31m\x7f"), "a\\nb\\r\\t\\x1b[31m\\x7f");
  EXPECT_EQ(SpiValueProblem("a\nb"), "it holds a line break");
  EXPECT_EQ(SpiValueProblem("it's \"x\""),
            "it holds both quote characters (' and \"), and no quoting can hold both");
  EXPECT_EQ(SpiValueProblem("C:\\tools\\"), "");
}

}  // namespace
