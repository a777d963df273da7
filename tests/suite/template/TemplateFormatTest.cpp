// The .tpl format: what is written reads back the same, and every kind of bad file is refused
// with its file, line and what is wrong, leaving the template as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "model/BException.h"
#include "model/RTemplateFile.h"

using namespace std::string_literals;

namespace {

RTemplateFile SampleTemplate() {
  RTemplateFile sample;
  sample.setSymbolValue("symbols", "1");
  sample.setSymbolValue("origin", "centred");
  sample.setSymbolValue("pin_grid", "10");
  sample.setPinLoad("tristate", "0.02", "0.4");
  sample.setPinLoad("input", "0.01", "-");
  sample.setPropertyValue("CLASS", "IC");
  sample.setPropertyValue("PART_NAME", "*");
  sample.setPropertyValue("NOTE", "");
  sample.setPropertyValue("TITLE", " two words ");
  return sample;
}

std::string Message(const std::string& text, const std::string& path) {
  TempDir dir;
  const std::string file = dir.write(path, text).string();
  RTemplateFile target = SampleTemplate();
  try {
    target.readFile(file);
  } catch (const BException& problem) {
    EXPECT_EQ(target.toString(), SampleTemplate().toString()) << "changed by a failed read";
    std::string info = problem.getExceptionInfo();
    EXPECT_EQ(info.rfind(file, 0), 0u) << info;  // names the file first
    return info.substr(file.size());
  }
  ADD_FAILURE() << "accepted:\n" << text;
  return {};
}

}  // namespace

TEST(TemplateFormat, WritesAndReadsBackTheSameEntries) {
  TempDir dir;
  const std::string path = (dir.path() / "site.tpl").string();
  RTemplateFile written = SampleTemplate();
  written.saveAs(path);
  EXPECT_EQ(written.getFileName(), path);

  RTemplateFile read;
  read.readFile(path);
  EXPECT_EQ(read.toString(), written.toString());
  EXPECT_EQ(read.getPropertyNames(),
            (std::vector<std::string>{"CLASS", "NOTE", "PART_NAME", "TITLE"}));
  EXPECT_EQ(*read.getPropertyValue("NOTE"), "");
  EXPECT_EQ(*read.getPropertyValue("TITLE"), " two words ");
  EXPECT_EQ(read.getPinLoad("input")->getOutputLoad(), "-");
  EXPECT_EQ(read.getPinTypes(), (std::vector<std::string>{"input", "tristate"}));
  EXPECT_EQ(*read.getSymbolValue("pin_grid"), "10");
  EXPECT_EQ(read.getSymbolValue("symbol_name"), nullptr);

  // Comments, blank lines, CR LF line ends, sections in any order and a copy.
  RTemplateFile handWritten;
  handWritten.fromString(
      "kestra-template 1\r\n# site\r\n\r\n[properties]\r\nCLASS   IC\r\n  # note\r\n"
      "[symbol]\r\norigin offset\r\nend\r\n# trailer\r\n");
  RTemplateFile copy(handWritten);
  EXPECT_EQ(*copy.getPropertyValue("CLASS"), "IC");
  EXPECT_EQ(*copy.getSymbolValue("origin"), "offset");
  EXPECT_TRUE(copy.removePropertyValue("CLASS"));
  EXPECT_FALSE(copy.removePropertyValue("CLASS"));
  EXPECT_NE(handWritten.getPropertyValue("CLASS"), nullptr) << "copies share nothing";
  copy.clear();
  EXPECT_TRUE(copy.isEmpty());
}

TEST(TemplateFormat, RefusesBadFilesWithLineAndReason) {
  const std::string head = "kestra-template 1\n";
  struct Case {
    std::string text, expected;
  };
  const std::vector<Case> cases{
      {"", ": empty file"},
      {head + "[symbol]\nsymbols 1\n", ": truncated: the template ends at line 3 without"},
      {head + "[properties]\nCLASS I\0C\nend\n"s, ":3: binary content"},
      {head + "[properties]\nCLASS \xff\xfe\nend\n", ":3: binary content"},
      {"kestra-template 2\n[symbol]\nend\n", ":1: template version 2 is not supported"},
      {"[symbol]\nend\n", ":1: not a template"},
      {head + "[layout]\nend\n", ":2: unknown section [layout]"},
      {head + "CLASS IC\nend\n", ":2: \"CLASS IC\" stands before the first section"},
      {head + "[symbol]\ncolour red\nend\n", ":3: Unknown symbol information \"colour\""},
      {head + "[symbol]\norigin middle\nend\n", ":3: Symbol information origin: \"middle\""},
      {head + "[pinloads]\nanalog 1 1\nend\n", ":3: Unknown pin type \"analog\""},
      {head + "[pinloads]\ninput heavy -\nend\n",
       ":3: Pin loads of input: \"heavy\" is not a load"},
      {head + "[pinloads]\ninput 1\nend\n", ":3: pin loads of input: write the pin type"},
      {head + "[properties]\nCLASS IC\n\nCLASS ASIC\nend\n",
       ":5: duplicate entry CLASS in [properties] (first on line 3)"},
      {head + "[symbol]\n[symbol]\nend\n", ":3: section [symbol] given twice (first on line 2)"},
      {head + "[properties]\nCLASS\nend\n", ":3: property CLASS has no value"},
      {head + "[properties]\nCLASS \"IC\nend\n", ":3: property CLASS: unterminated quote"},
      {head + "end\n[symbol]\n", ":3: text after the \"end\" line"},
  };
  for (const Case& bad : cases) {
    const std::string message = Message(bad.text, "bad.tpl");
    EXPECT_EQ(message.find(bad.expected), 0u) << message << "\nexpected: " << bad.expected;
  }
}

TEST(TemplateFormat, RefusesWhatTheFileCouldNotHold) {
  TempDir dir;
  RTemplateFile editor = SampleTemplate();
  const std::string missing = (dir.path() / "no-such-folder" / "site.tpl").string();
  try {
    editor.saveAs(missing);
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const BException& problem) {
    EXPECT_NE(problem.getExceptionInfo().find("does not exist"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "no-such-folder"));
  EXPECT_THROW(RTemplateFile().readFile(dir.str()), BException);  // a folder
  EXPECT_THROW(RTemplateFile().readFile(missing), BException);

  EXPECT_THROW(editor.setPropertyValue("TWO WORDS", "x"), BException);
  EXPECT_THROW(editor.setPropertyValue("#CLASS", "x"), BException);
  EXPECT_THROW(editor.setPropertyValue("CLASS", "line\nbreak"), BException);
  EXPECT_THROW(editor.setPinLoad("input", "-1", "0"), BException);
  EXPECT_THROW(editor.setSymbolValue("pin_grid", "0"), BException);
  EXPECT_EQ(*editor.getPropertyValue("CLASS"), "IC") << "a refused value replaced the entry";
  EXPECT_EQ(RTemplateFile::checkSymbolValue("symbols", "3"), "");
}
