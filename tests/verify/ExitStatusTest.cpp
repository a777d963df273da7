// The exit statuses of docs/kestra.md, verb by verb, with `kestra` as a real child process
// over a copy of the example project: a missing project, library, part, footprint, template
// or output folder is a run that could not be made (2), named on standard error, never a
// failed part.
#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace {

struct Case {
  QStringList words;
  int status;
  std::string said;  // on standard error ("" for a run that needs say nothing)
};

}  // namespace

TEST(ExitStatus, OneStatusForOneKindOfOutcomeOnEveryVerb) {
  TempDir dir;
  CopyDemoProject(dir.path());
  const QString tpl = QString::fromStdString(dir.str() + "/demo/templates/site.tpl");
  const QString demo = "demo/demo.tak";
  const std::vector<Case> cases = {
      // Done, failed, passed with warnings.
      {{"verify", "rulex", "-proj", demo, "-lib", "passives"}, 0, ""},
      {{"verify", "rulex", "-proj", demo, "-lib", "standard", "-cell", "7432"}, 1, ""},
      {{"verify", "rulex", "-proj", demo, "-lib", "standard", "-cell", "7404"}, 3, ""},
      {{"libs", "-proj", demo}, 0, ""},
      {{"footprints", "-proj", demo}, 0, ""},
      // Missing projects.
      {{"verify", "rulex", "-proj", "nosuch.tak", "-lib", "passives"}, 2, "nosuch.tak"},
      {{"verify", "all", "-proj", "nosuch.tak"}, 2, "nosuch.tak"},
      {{"libs", "-proj", "nosuch.tak"}, 2, "nosuch.tak"},
      {{"footprints", "-proj", "nosuch.tak"}, 2, "nosuch.tak"},
      {{"template", "extract", "-proj", "nosuch.tak", "-lib", "tmplparts", "-cell", "tpl_clean",
        "-o", "x.tpl"},
       2,
       "nosuch.tak"},
      // Missing libraries, parts, footprints and templates.
      {{"verify", "rulex", "-proj", demo, "-lib", "nosuchlib"}, 2, "nosuchlib"},
      {{"verify", "rulex", "-proj", demo, "-lib", "standard", "-cell", "nosuchcell"},
       2,
       "nosuchcell"},
      {{"verify", "simulation", "-proj", demo, "-lib", "simcells", "-cell", "nosuchcell",
        "-wrapperview", "verilog", "-default-paths"},
       2,
       "nosuchcell"},
      {{"verify", "packaging", "-proj", demo, "-lib", "packs", "-cell", "nosuchcell"},
       2,
       "nosuchcell"},
      {{"verify", "template", "-proj", demo, "-lib", "tmplparts", "-cell", "nosuchcell",
        "-template", tpl},
       2,
       "nosuchcell"},
      {{"verify", "template", "-proj", demo, "-lib", "tmplparts", "-template", "nosuch.tpl"},
       2,
       "nosuch.tpl"},
      {{"verify", "footprint", "-proj", demo, "-name", "NOSUCH"}, 2, "NOSUCH"},
      {{"template", "extract", "-proj", demo, "-lib", "tmplparts", "-cell", "nosuchcell", "-o",
        "x.tpl"},
       2,
       "nosuchcell"},
      {{"verify", "all", "-proj", demo, "-lib", "nosuchlib"}, 2, "nosuchlib"},
      {{"verify", "all", "-proj", demo, "-lib", "passives", "-cell", "nosuchcell"},
       2,
       "nosuchcell"},
      {{"report", "merge", "nosuch.json", "-html", "page.html"}, 2, "nosuch.json"},
      // Output files whose folder cannot be made: refused before anything runs.
      {{"verify", "rulex", "-proj", demo, "-lib", "passives", "-junit", "missing/deeper/x.xml"},
       2,
       "missing/deeper"},
      {{"verify", "all", "-proj", demo, "-lib", "passives", "-html", "missing/deeper/x.html"},
       2,
       "missing/deeper"},
      // Wrong command lines.
      {{"verify", "nosuchflow"}, 2, "nosuchflow"},
      {{"verify", "rulex", "-proj", demo}, 2, "-lib"},
      {{"nosuchverb"}, 2, "nosuchverb"},
  };
  for (const Case& c : cases) {
    const std::string words = c.words.join(' ').toStdString();
    const ProgramRun run = RunProgram(KESTRA_PROGRAM, c.words, dir.str());
    EXPECT_EQ(run.status, c.status) << words << "\n" << run.err;
    if (!c.said.empty()) {
      EXPECT_NE(run.err.find(c.said), std::string::npos) << words << "\n" << run.err;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing")) << "no folder made for a refusal";
}
