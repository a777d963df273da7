// `kestra template extract` and `kestra verify template` as real child processes over a copy
// of the example project.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace {

class TemplateVerbTest : public ::testing::Test {
 protected:
  void SetUp() override { project = CopyDemoProject(dir.path()).string(); }

  // Runs build/bin/kestra with words.
  ProgramRun Kestra(const std::vector<std::string>& words) {
    QStringList list;
    for (const std::string& word : words) list << QString::fromStdString(word);
    return RunProgram(KESTRA_PROGRAM, list);
  }

  TempDir dir;
  std::string project;
};

}  // namespace

TEST_F(TemplateVerbTest, ExtractThenVerifyCleanAndBrokenParts) {
  const std::string clean = dir.str() + "/clean.tpl";
  const ProgramRun extract = Kestra({"template", "extract", "-proj", project, "-lib", "tmplparts",
                                     "-cell", "tpl_clean", "-o", clean});
  ASSERT_EQ(extract.status, 0) << extract.err;
  EXPECT_EQ(extract.out, ReadFile(clean)) << "prints what it wrote";
  EXPECT_NE(extract.out.find("tristate  0.02  0.4\n"), std::string::npos) << extract.out;
  EXPECT_EQ(extract.err.find("not \"standardized\""), std::string::npos) << extract.err;

  const ProgramRun same = Kestra({"verify", "template", "-proj", project, "-lib", "tmplparts",
                                  "-cell", "tpl_clean", "-template", clean});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "No differences found in Part from the selected template\n");

  const ProgramRun broken = Kestra({"verify", "template", "-proj", project, "-lib", "tmplparts",
                                    "-cell", "tpl_loads", "-template", clean, "-aspects", "2,4"});
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_EQ(broken.out, "1 difference from template " + clean + "\n");
  EXPECT_NE(broken.err.find("  Part tmplparts/tpl_loads: pin loads: pin A (input) of physical "
                            "part TPL_LOADS_DIP8: expected input 0.01 output -, found input "
                            "0.05 output -\n"),
            std::string::npos)
      << broken.err;

  // The whole library against the site template: one result per part, as JSON.
  const ProgramRun library = Kestra({"verify", "template", "-proj", project, "-lib", "tmplparts",
                                     "-template", dir.str() + "/demo/templates/site.tpl", "-json"});
  EXPECT_EQ(library.status, 1);
  for (const char* part : {"tpl_clean", "tpl_loads", "tpl_props", "tpl_symbol"})
    EXPECT_NE(library.out.find(std::string("\"cell\": \"") + part + "\""), std::string::npos)
        << library.out;
  EXPECT_NE(library.out.find("found \\\"ASIC\\\""), std::string::npos) << library.out;

  // A reference library is read through refqvd.lib.
  const ProgramRun reference =
      Kestra({"verify", "template", "-proj", project, "-lib", "refparts", "-ref", "-cell", "lm358",
              "-template", dir.str() + "/demo/templates/site.tpl", "-aspects", "2"});
  EXPECT_EQ(reference.status, 1) << reference.err;
  EXPECT_EQ(reference.out,
            "3 differences from template " + dir.str() + "/demo/templates/site.tpl\n");
}

TEST_F(TemplateVerbTest, BadInputIsToldAndNeverPassed) {
  dir.write("broken.tpl", "kestra-template 1\n[properties]\nCLASS IC\n");
  const ProgramRun truncated = Kestra({"verify", "template", "-proj", project, "-lib", "tmplparts",
                                       "-template", dir.str() + "/broken.tpl"});
  EXPECT_EQ(truncated.status, 2);
  EXPECT_NE(truncated.err.find("broken.tpl: truncated"), std::string::npos) << truncated.err;

  // The output file's own folder is made when its parent exists; deeper, it is refused.
  const ProgramRun ownFolder = Kestra({"template", "extract", "-proj", project, "-lib", "tmplparts",
                                       "-cell", "tpl_clean", "-o", dir.str() + "/made/site.tpl"});
  EXPECT_EQ(ownFolder.status, 0) << ownFolder.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "made" / "site.tpl"));
  const ProgramRun missingFolder =
      Kestra({"template", "extract", "-proj", project, "-lib", "tmplparts", "-cell", "tpl_clean",
              "-o", dir.str() + "/nowhere/deeper/site.tpl"});
  EXPECT_EQ(missingFolder.status, 2);
  EXPECT_NE(missingFolder.err.find("the folder " + dir.str() +
                                   "/nowhere/deeper does not exist, nor its parent"),
            std::string::npos)
      << missingFolder.err;

  const ProgramRun noCell = Kestra({"template", "extract", "-proj", project, "-lib", "tmplparts",
                                    "-cell", "absent", "-o", dir.str() + "/x.tpl"});
  EXPECT_EQ(noCell.status, 2);
  EXPECT_NE(noCell.err.find("library tmplparts has no part absent"), std::string::npos)
      << noCell.err;

  EXPECT_EQ(Kestra({"template", "extract", "-proj", project}).status, 2);
  EXPECT_EQ(
      Kestra({"verify", "template", "-proj", project, "-lib", "refparts", "-template", "x.tpl"})
          .status,
      2)
      << "a reference library needs -ref";
}
