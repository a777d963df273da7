// `kestra footprints` and `kestra verify footprint` as real child processes over a copy of the
// example project.
#include <gtest/gtest.h>

#include <QProcess>
#include <nlohmann/json.hpp>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

class FootprintCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    projectFile = CopyDemoProject(dir.path());
    projectDir = projectFile.parent_path().string();
  }

  ProgramRun Kestra(const QStringList& words) {
    return RunProgram(KESTRA_PROGRAM, words, dir.str());
  }

  TempDir dir;
  fs::path projectFile;
  std::string projectDir;
};

}  // namespace

TEST_F(FootprintCommandTest, FootprintsListsNamesAndFoldersAsTheDialogDoes) {
  const ProgramRun so = Kestra({"footprints", "-proj", "demo/demo.tak", "-filter", "so*"});
  EXPECT_EQ(so.status, 0) << so.err;
  const std::string smd = projectDir + "/footprints_smd";
  EXPECT_EQ(so.out,
            "Footprint  Location\n"
            "SO14       " +
                smd +
                "\n"
                "SO16       " +
                smd +
                "\n"
                "SO8        " +
                smd + "\nSOIC8      " + projectDir + "/footprints\n");
  EXPECT_EQ(so.err, "");

  const ProgramRun all = Kestra({"footprints", "-proj", "demo/demo.tak"});
  EXPECT_EQ(all.status, 0);
  EXPECT_NE(all.out.find("DO35       " + projectDir + "/footprints\n"), std::string::npos)
      << all.out;
  EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 13);

  const ProgramRun none = Kestra({"footprints", "-proj", "demo/demo.tak", "-filter", "X*"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "Footprint  Location\n");

  // Skipped folders are named once; a project without a path uses the install's folder.
  dir.write("p/p.tak",
            "START_PAVREL\nPSMPATH './gone' '" + projectDir + "/footprints'\nEND_PAVREL\n");
  const ProgramRun skipped = Kestra({"footprints", "-proj", "p/p.tak", "-filter", "DIP8"});
  EXPECT_EQ(skipped.status, 0);
  EXPECT_EQ(skipped.err, "footprints: skipped " + dir.str() + "/p/gone: no such folder\n");
  EXPECT_NE(skipped.out.find("DIP8"), std::string::npos);
  dir.write("q/q.tak", "START_GLOBAL\nEND_GLOBAL\n");
  const ProgramRun defaults = Kestra({"footprints", "-proj", "q/q.tak"});
  EXPECT_EQ(defaults.status, 0);
  EXPECT_NE(defaults.out.find("SOT23"), std::string::npos) << defaults.out;
  EXPECT_NE(defaults.err.find("the project sets no PSMPATH"), std::string::npos);

  // Bad words and a missing project.
  EXPECT_EQ(Kestra({"footprints", "-filter", "x"}).status, 2);
  EXPECT_EQ(Kestra({"footprints", "-proj"}).status, 2);
  EXPECT_EQ(Kestra({"footprints", "-proj", "p.tak", "-what", "x"}).status, 2);
  const ProgramRun missing = Kestra({"footprints", "-proj", "nosuch.tak"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("no project file"), std::string::npos);
}

TEST_F(FootprintCommandTest, VerifyFootprintChecksTheDrawingFoundOnThePath) {
  const ProgramRun clean =
      Kestra({"verify", "footprint", "-proj", "demo/demo.tak", "-name", "DIP14"});
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(clean.out, "Footprint DIP14 passed the check (0 errors): " + projectDir +
                           "/footprints/DIP14.dra\n");

  const ProgramRun broken =
      Kestra({"verify", "footprint", "-proj", "demo/demo.tak", "-name", "QFP44", "-json"});
  EXPECT_EQ(broken.status, 1);
  const auto json = nlohmann::json::parse(broken.out);
  EXPECT_EQ(json["flow"], "footprint");
  EXPECT_EQ(json["verdict"], "failed");
  EXPECT_EQ(json["cell"], "QFP44");
  EXPECT_EQ(json["library"], projectDir + "/footprints_smd");
  EXPECT_EQ(json["findings"], nlohmann::json({"line 4: pitch needs a number above 0",
                                              "line 6: pad 45 outside 1..44"}));
  EXPECT_NE(broken.err.find("QFP44.dra: line 4: pitch"), std::string::npos) << broken.err;

  // In two folders: the first on the path unless -location picks another.
  const ProgramRun first =
      Kestra({"verify", "footprint", "-proj", "demo/demo.tak", "-name", "SO8"});
  EXPECT_EQ(first.status, 0);
  EXPECT_NE(first.out.find("/footprints/SO8.dra"), std::string::npos) << first.out;
  EXPECT_NE(first.err.find("SO8.dra is in 2 folders"), std::string::npos) << first.err;
  const ProgramRun picked =
      Kestra({"verify", "footprint", "-proj", "demo/demo.tak", "-name", "SO8", "-location",
              QString::fromStdString(projectDir + "/footprints_smd")});
  EXPECT_EQ(picked.status, 0);
  EXPECT_NE(picked.out.find("/footprints_smd/SO8.dra"), std::string::npos) << picked.out;

  // Only a ".psm": the dialog's message, and no check could be made.
  const ProgramRun psm = Kestra({"verify", "footprint", "-proj", "demo/demo.tak", "-name", "SO16"});
  EXPECT_EQ(psm.status, 2);
  EXPECT_NE(psm.err.find("Footprint can't be viewed as corresponding .dra file not found in the "
                         "PSMPATH: no footprint SO16.dra"),
            std::string::npos)
      << psm.err;
  const ProgramRun elsewhere = Kestra({"verify", "footprint", "-proj", "demo/demo.tak", "-name",
                                       "DIP14", "-location", "demo/footprints_smd"});
  EXPECT_EQ(elsewhere.status, 2);
  EXPECT_NE(elsewhere.err.find("is not in"), std::string::npos);

  EXPECT_EQ(Kestra({"verify", "footprint", "-proj", "demo/demo.tak"}).status, 2);
  EXPECT_EQ(Kestra({"verify", "footprint", "-proj", "nosuch.tak", "-name", "X"}).status, 2);
}
