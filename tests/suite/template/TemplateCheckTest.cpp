// Checks of real part folders against templates on each aspect, extraction, parts that
// cannot be read, and a 2,000-pin part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TemplateProject.h"
#include "model/BException.h"
#include "outside/Tamsin.h"

namespace {

// A site template the clean part follows.
RTemplateFile SiteTemplate() {
  RTemplateFile site;
  site.setSymbolValue("symbols", "1");
  site.setSymbolValue("origin", "centred");
  site.setSymbolValue("pin_grid", "10");
  site.setSymbolValue("symbol_name", "matches");
  site.setPinLoad("input", "0.01", "-");
  site.setPinLoad("tristate", "0.02", "0.40");
  site.setPropertyValue("CLASS", "IC");
  site.setPropertyValue("PART_NAME", "*");
  site.setPropertyValue("JEDEC_TYPE", "DIP?");
  return site;
}

std::vector<std::string> Texts(const BMesgList& list) {
  std::vector<std::string> texts;
  for (const BMesgText& message : list.getMessages()) texts.push_back(message.getText());
  return texts;
}

std::vector<std::string> Check(const TemplateProject& project, const std::string& cell,
                               AppPartCheck::CheckType aspects, const RTemplateFile& site) {
  BMesgList differences;
  AppPartCheck check;
  check.setErrorList(&differences);
  check.setTemplate(site);
  check.loadPart(project.libraryList(), "parts", cell);
  const int count = check.runChecks(aspects);
  EXPECT_EQ(count, differences.getErrorCount());
  return Texts(differences);
}

// The broken part: CLASS and the load of A differ, the origin is off centre and pin B off
// the grid (the other pins are on it, taken from the moved origin).
void WriteBrokenPart(const TemplateProject& project) {
  std::string package = TemplateProject::CleanPackage("bad");
  package.replace(package.find("CLASS IC"), 8, "CLASS ASIC");
  package.replace(package.find("load A input 0.01"), 17, "load A input 0.05");
  std::string symbol = TemplateProject::CleanSymbol("bad");
  symbol.replace(symbol.find("origin 0 0"), 10, "origin 10 0");
  symbol.replace(symbol.find("pin B -40 -10"), 13, "pin B -45 -10");
  project.writeCell("bad", package, symbol);
}

}  // namespace

TEST(TemplateCheck, ReportsEachDifferenceOfTheTickedAspectsOnly) {
  TemplateProject project;
  project.writeCell("good", TemplateProject::CleanPackage("good"),
                    TemplateProject::CleanSymbol("good"));
  WriteBrokenPart(project);
  const RTemplateFile site = SiteTemplate();

  EXPECT_TRUE(Check(project, "good", AppPartCheck::AllAspects, site).empty());
  EXPECT_TRUE(Check(project, "bad", 0, site).empty());

  EXPECT_EQ(Check(project, "bad", AppPartCheck::PropertyValues, site),
            std::vector<std::string>{"Part parts/bad: property values: CLASS of physical part "
                                     "bad_DIP8: expected \"IC\", found \"ASIC\""});
  EXPECT_EQ(Check(project, "bad", AppPartCheck::PinLoads, site),
            std::vector<std::string>{"Part parts/bad: pin loads: pin A (input) of physical part "
                                     "bad_DIP8: expected input 0.01 output -, found input 0.05 "
                                     "output -"});
  EXPECT_EQ(Check(project, "bad", AppPartCheck::SymbolInformation, site),
            (std::vector<std::string>{
                "Part parts/bad: symbol information: origin of symbol bad (sym_1): expected "
                "centred, found offset",
                "Part parts/bad: symbol information: pin_grid of symbol bad (sym_1): expected "
                "pins on a grid of 10, found 1 pin off it (first B at -45 -10)"}));
  EXPECT_EQ(Check(project, "bad", AppPartCheck::AllAspects, site).size(), 4u);

  // A property the part lacks and a symbol count that differs.
  RTemplateFile stricter = site;
  stricter.setPropertyValue("VENDOR", "*");
  stricter.setSymbolValue("symbols", "2");
  EXPECT_EQ(Check(project, "good", AppPartCheck::AllAspects, stricter),
            (std::vector<std::string>{
                "Part parts/good: symbol information: symbols: expected 2, found 1",
                "Part parts/good: property values: VENDOR of physical part good_DIP8: "
                "expected \"*\", found none"}));
}

TEST(TemplateCheck, ExtractsTheTemplateAPartFollows) {
  TemplateProject project;
  project.writeCell("good", TemplateProject::CleanPackage("good"),
                    TemplateProject::CleanSymbol("good"));
  BMesgList notes;
  AppTemplateExtract extract;
  extract.setErrorList(&notes);
  extract.loadPart(project.libraryList(), "parts", "good");
  extract.runExtract();
  const std::string path = project.directory() + "good.tpl";
  extract.saveAs(path);
  EXPECT_EQ(extract.getTemplate()->toString(),
            "kestra-template 1\n[symbol]\nsymbols      1\norigin       centred\n"
            "pin_grid     10\nsymbol_name  matches\n[pinloads]\ninput     0.01  -\n"
            "tristate  0.02  0.4\n[properties]\nCLASS       IC\nJEDEC_TYPE  DIP8\n"
            "PART_NAME   good\nend\n");
  EXPECT_EQ(notes.getErrorCount(), 0);

  BMesgList differences;
  AppPartCheck check(&differences);
  check.loadTemplate(path);
  check.loadPart(project.libraryList(), "parts", "good");
  EXPECT_EQ(check.runChecks(AppPartCheck::AllAspects), 0);

  // Physical parts that disagree are not "standardized": the majority wins and the rest
  // differ from the part's own template.
  std::string mixed = TemplateProject::CleanPackage("mixed");
  mixed +=
      "physical mixed_SO8\n  property JEDEC_TYPE SO8\n  property CLASS ASIC\n"
      "  property NOTE pin 1*\n"
      "  pin A 1 input\n  load A input 0.02\nend\n"
      "physical mixed_TSSOP8\n  property JEDEC_TYPE TSSOP8\n  pin A 1 input\n"
      "  load A input 0.01\n  pin Q 2 wobbly\nend\n";
  project.writeCell("mixed", mixed, TemplateProject::CleanSymbol("mixed"));
  extract.loadPart(project.libraryList(), "parts", "mixed");
  EXPECT_EQ(notes.getErrorCount(), 0) << "reading problems are notes, not differences";
  EXPECT_FALSE(notes.getMessages().empty()) << "the unknown pin type is noted";
  extract.runExtract();
  EXPECT_EQ(notes.getMessages().back().getText(),
            "Part parts/mixed: property NOTE left out of the template: its value \"pin 1*\" "
            "holds a wildcard character");
  EXPECT_EQ(extract.getTemplate()->getPropertyValue("NOTE"), nullptr);
  EXPECT_EQ(*extract.getTemplate()->getPropertyValue("CLASS"), "IC");
  EXPECT_EQ(extract.getTemplate()->getPinLoad("input")->getInputLoad(), "0.01");
  check.setTemplate(*extract.getTemplate());
  check.loadPart(project.libraryList(), "parts", "mixed");
  // CLASS of SO8, JEDEC_TYPE of two parts, the load of A in SO8.
  EXPECT_EQ(check.runChecks(AppPartCheck::AllAspects), 4);
}

TEST(TemplateCheck, PartsThatCannotBeReadAreClearErrors) {
  TemplateProject project;
  project.writeCell("nopackage", "", "");
  std::filesystem::remove_all(project.dir().path() / "libs/parts/nopackage/package");
  project.writeCell("nosymbol", TemplateProject::CleanPackage("nosymbol"), "");
  auto message = [&](const std::string& list, const std::string& library,
                     const std::string& cell) -> std::string {
    AppPartCheck check;
    try {
      check.loadPart(list, library, cell);
    } catch (const BException& problem) {
      return problem.getExceptionInfo();
    }
    return "loaded";
  };
  EXPECT_NE(message(project.libraryList(), "parts", "nopackage").find("has no package view"),
            std::string::npos);
  EXPECT_NE(
      message(project.libraryList(), "parts", "absent").find("Part absent is not in library parts"),
      std::string::npos);
  EXPECT_NE(
      message(project.libraryList(), "others", "good").find("Library others is not listed in"),
      std::string::npos);
  EXPECT_NE(message(project.directory() + "refqvd.lib", "parts", "good").find("does not exist"),
            std::string::npos);

  // A part without a symbol view differs in its symbol count only.
  EXPECT_EQ(Check(project, "nosymbol", AppPartCheck::AllAspects, SiteTemplate()),
            std::vector<std::string>{"Part parts/nosymbol: symbol information: symbols: expected "
                                     "1, found 0"});
  // A part or template that cannot be read leaves nothing earlier behind to be checked.
  AppPartCheck check;
  check.setTemplate(SiteTemplate());
  check.loadPart(project.libraryList(), "parts", "nosymbol");
  EXPECT_THROW(check.loadPart(project.libraryList(), "parts", "absent"), BException);
  EXPECT_THROW(check.runChecks(7), BException);
  check.loadPart(project.libraryList(), "parts", "nosymbol");
  EXPECT_THROW(check.loadTemplate(project.directory() + "absent.tpl"), BException);
  EXPECT_THROW(check.runChecks(7), BException);
}

TEST(TemplateCheck, HandlesAPartOf2000Pins) {
  TemplateProject project;
  project.writeWidePart("wide", 2000);
  AppTemplateExtract extract;
  extract.loadPart(project.libraryList(), "parts", "wide");
  extract.runExtract();
  EXPECT_EQ(Check(project, "wide", AppPartCheck::AllAspects, *extract.getTemplate()).size(), 0u);

  RTemplateFile heavier = *extract.getTemplate();
  heavier.setPinLoad("tristate", "0.02", "0.5");
  EXPECT_EQ(Check(project, "wide", AppPartCheck::PinLoads, heavier).size(), 1000u);
}

TEST(TemplateCheck, PinGridHoldsAtTheEndsOfTheCoordinateRange) {
  // Pin A lies 4,294,967,260 (a multiple of 10) left of the origin: in int that offset wraps.
  TemplateProject project;
  project.writeCell("far", TemplateProject::CleanPackage("far"),
                    "symbol far\norigin 2147483630 0\nextent -2147483640 -10 2147483630 10\n"
                    "pin A -2147483630 0\npin B 2147483630 10\npin Y 2147483630 -10\n");
  AppTemplateExtract extract;
  extract.loadPart(project.libraryList(), "parts", "far");
  extract.runExtract();
  ASSERT_NE(extract.getTemplate()->getSymbolValue("pin_grid"), nullptr);
  EXPECT_EQ(*extract.getTemplate()->getSymbolValue("pin_grid"), "10");
  RTemplateFile site = SiteTemplate();
  site.setSymbolValue("origin", "offset");
  EXPECT_TRUE(Check(project, "far", AppPartCheck::SymbolInformation, site).empty());
}
