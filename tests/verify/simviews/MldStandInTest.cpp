// The stand-in part-authoring tool as a real child process: it makes new simulation views
// from the part's symbol pins without ever replacing a file, and opens existing ones, showing
// the files.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

ProgramRun RunMld(const QStringList& words) { return RunProgram(STAND_IN_TOOL("mld"), words); }

}  // namespace

TEST(MldStandIn, MakesViewsFromTheSymbolAndNeverReplacesOne) {
  TempDir dir;
  const fs::path project = CopyDemoProject(dir.path());
  const fs::path part = project.parent_path() / "libs" / "standard" / "74ls125";
  const QStringList head = {
      "-proj", QString::fromStdString(project.string()), "-lib", "standard", "-cell", "74ls125"};
  const std::string wrapper = ReadFile(part / "verilog" / "74ls125.v");

  // The part has a Verilog wrapper already: the new one goes into view verilog_1.
  ProgramRun run = RunMld(head + QStringList{"-newVerilogWrapper", "junk"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("mld: created Verilog wrapper"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("(view verilog_1) from 3 pins of sym_1"), std::string::npos) << run.out;
  EXPECT_EQ(ReadFile(part / "verilog" / "74ls125.v"), wrapper);
  // Directions come from the package: OE and A are inputs, the tristate Y an output.
  const std::string made = ReadFile(part / "verilog_1" / "74ls125.v");
  EXPECT_NE(made.find("module c74ls125 ("), std::string::npos) << made;
  EXPECT_NE(made.find("  output y;\n"), std::string::npos) << made;
  EXPECT_NE(made.find("  input a;\n"), std::string::npos) << made;

  run = RunMld(head + QStringList{"-newVhdlMapFile", "junk"});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string map = ReadFile(part / "vhdl_1" / "74ls125.map");
  EXPECT_NE(map.find("OE  oe\n"), std::string::npos) << map;

  // Opened, the view's files are shown in the window (here drawn into a PNG file).
  const QString png = QString::fromStdString(dir.str() + "/mld.png");
  run = RunMld(head + QStringList{"-openVerilog", "verilog_1", "-png", png});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("mld: opened Verilog view"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("74ls125.v ("), std::string::npos) << run.out;
  const QImage image(png);
  ASSERT_EQ(image.size(), QSize(720, 520));
  int dark = 0;  // the text's pixels
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 400; ++x) dark += qGray(image.pixel(x, y)) < 100;
  EXPECT_GT(dark, 500);

  // An existing view of the wrong family, a missing part, a library the project lacks.
  run = RunMld(head + QStringList{"-openVhdl", "verilog_1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no VHDL view \"verilog_1\""), std::string::npos) << run.err;
  run = RunMld({"-proj", QString::fromStdString(project.string()), "-lib", "standard", "-cell",
                "nosuch", "-newVhdlWrapper", "junk"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("has no part \"nosuch\""), std::string::npos) << run.err;
  run = RunMld({"-proj", QString::fromStdString(project.string()), "-lib", "refparts", "-cell",
                "lm358", "-newVhdlWrapper", "junk"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("is not a library of the project"), std::string::npos) << run.err;

  // Started as the Mld command starts it: nothing to do, said so.
  run = RunMld({"-proj", QString::fromStdString(project.string())});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("nothing to create or open"), std::string::npos) << run.out;
}
