// The symbol viewer's logic: argument texts for project and reference libraries, and the
// temporary project it writes for a reference library.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "DemoProject.h"
#include "TempDir.h"
#include "convert/SymbolViewer.h"
#include "projectfile/CSpiProject.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> GlobalValues(const std::string& project, const std::string& directive) {
  CSpiProject spi;
  std::vector<std::string> values;
  if (spi.Open(project) != 0 || spi.FindProgram("GLOBAL") != 0 || spi.FindDirective(directive) != 0)
    return values;
  spi.RewindValues();
  for (std::string v; spi.GetNextValue(v) == 0;) values.push_back(v);
  return values;
}

SymbolViewRequest RequestFor(const fs::path& projectFile, std::string library, bool reference) {
  SymbolViewRequest request;
  request.projectFile = projectFile.string();
  request.projectDir = projectFile.parent_path().string() + "/";
  request.projectName = projectFile.stem().string();
  request.library = std::move(library);
  request.cell = "lm358";
  request.view = "sym_1";
  request.referenceLibrary = reference;
  request.standardExists = true;
  return request;
}

}  // namespace

TEST(SymbolViewer, ProjectLibraryPassesTheProjectAndBareNames) {
  SymbolViewRequest request = RequestFor("/d/my proj/p.tak", "standard", false);
  request.cell = "7400";
  SymbolViewPlan plan = PrepareSymbolView(request);
  EXPECT_EQ(plan.stage, SymbolViewStage::Ready);
  EXPECT_EQ(plan.arguments, R"( -proj "/d/my proj/p.tak" -lib standard -cell 7400 -view sym_1)");
  EXPECT_EQ(plan.tempProject, "");
  EXPECT_EQ(plan.message, "");

  // Names that would split into several words reach the editor quoted, and intact.
  request.library = "my lib";
  request.cell = "say \"hi\"";
  EXPECT_EQ(PrepareSymbolView(request).arguments,
            R"( -proj "/d/my proj/p.tak" -lib "my lib" -cell "say \"hi\"" -view sym_1)");

  // The checks in their order; nothing is started.
  const std::vector<std::tuple<std::string, std::string, std::string, std::string>> missing = {
      {"", "", "", "Please select a library"},
      {"L", "", "", "Please select a cell"},
      {"L", "C", "", "Please select a symbol to be viewed"}};
  for (const auto& [lib, cell, view, text] : missing) {
    request.library = lib;
    request.cell = cell;
    request.view = view;
    plan = PrepareSymbolView(request);
    EXPECT_EQ(plan.stage, SymbolViewStage::NoSelection);
    EXPECT_EQ(plan.message, text);
    EXPECT_FALSE(plan.Launch());
    EXPECT_EQ(plan.arguments, "");
  }
}

TEST(SymbolViewer, ReferenceLibraryGoesThroughTheTemporaryProject) {
  TempDir dir;
  const fs::path project = dir.write("p/lab.tak",
                                     "START_GLOBAL\nlibrary 'mine'\ndesign_library 'designs'\n"
                                     "temp_dir 'temp'\nEND_GLOBAL\n");
  dir.write("p/refqvd.lib", "refparts /nowhere\n");
  // No "temp" folder: it is not made, and nothing starts.
  const SymbolViewRequest request = RequestFor(project, "refparts", true);
  const SymbolViewPlan noTemp = PrepareSymbolView(request);
  EXPECT_EQ(noTemp.stage, SymbolViewStage::LoadFailed);
  EXPECT_EQ(noTemp.message, "Unable to load the created temp. project back in the memory");
  EXPECT_FALSE(noTemp.Launch());
  EXPECT_FALSE(fs::exists(dir.path() / "p" / "temp"));

  fs::create_directory(dir.path() / "p" / "temp");
  const SymbolViewPlan plan = PrepareSymbolView(request);
  const std::string temp = dir.str() + "/p/temp/lab_tmp.tak";
  EXPECT_EQ(plan.stage, SymbolViewStage::Ready);
  EXPECT_EQ(plan.tempProject, temp);
  EXPECT_EQ(plan.message, "");
  EXPECT_EQ(plan.arguments, " -proj \"" + temp + "\" -qvdlib \"" + dir.str() +
                                "/p/refqvd.lib\" -lib refparts -cell lm358 -view sym_1");
  EXPECT_EQ(GlobalValues(temp, "library"),
            (std::vector<std::string>{"refparts", "designs", "standard"}));
  // The project file itself is left as it was.
  EXPECT_EQ(GlobalValues(project.string(), "library"), (std::vector<std::string>{"mine"}));

  // Without a "standard" library, or when the design library is the chosen one, each library
  // is named once; a press rewrites the temporary project of the previous one.
  SymbolViewRequest again = request;
  again.library = "designs";
  again.standardExists = false;
  EXPECT_EQ(PrepareSymbolView(again).stage, SymbolViewStage::Ready);
  EXPECT_EQ(GlobalValues(temp, "library"), (std::vector<std::string>{"designs"}));

  // The example project: its design library is "standard".
  const fs::path demo = CopyDemoProject(dir.path() / "copy");
  const SymbolViewPlan demoPlan = PrepareSymbolView(RequestFor(demo, "refparts", true));
  EXPECT_EQ(demoPlan.stage, SymbolViewStage::Ready);
  EXPECT_EQ(GlobalValues(demoPlan.tempProject, "library"),
            (std::vector<std::string>{"refparts", "standard"}));
}

TEST(SymbolViewer, TemporaryProjectFailuresAreReportedAsSuch) {
  TempDir dir;
  const fs::path project = dir.write("p/lab.tak", "START_GLOBAL\nlibrary 'mine'\nEND_GLOBAL\n");
  const SymbolViewRequest request = RequestFor(project, "refparts", true);

  // "temp" is a file: the copy cannot be made and the user is told so, not that it would
  // not load.
  dir.write("p/temp", "not a folder");
  SymbolViewPlan plan = PrepareSymbolView(request);
  EXPECT_EQ(plan.stage, SymbolViewStage::CopyFailed);
  EXPECT_FALSE(plan.Launch());
  EXPECT_NE(plan.message.find("Unable to copy the project file"), std::string::npos)
      << plan.message;
  EXPECT_NE(plan.message.find("temp/lab_tmp.tak"), std::string::npos) << plan.message;
  fs::remove(dir.path() / "p" / "temp");

  // A temporary project that cannot be read back.
  EXPECT_EQ(WriteSymbolTempProject(dir.str() + "/p/none.tak", "refparts", true),
            SymbolViewStage::LoadFailed);

  // A temporary project another program holds open cannot be saved: the user is told, and
  // the editor still starts with it.
  const fs::path temp = dir.write("p/temp/lab_tmp.tak", "START_GLOBAL\nEND_GLOBAL\n");
  const int fd = ::open(temp.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_SH), 0);
  plan = PrepareSymbolView(request);
  ::close(fd);
  EXPECT_EQ(plan.stage, SymbolViewStage::ModifyFailed);
  EXPECT_EQ(plan.message, "Unable to modify the created temp. project for reference libraries");
  EXPECT_TRUE(plan.Launch());
  EXPECT_EQ(plan.arguments.rfind(" -proj \"" + temp.string() + "\" -qvdlib ", 0), 0u);
}
