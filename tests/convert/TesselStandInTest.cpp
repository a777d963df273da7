// The stand-in schematic editor as a real child process: it finds the part from the project
// it is given, draws the symbol, and refuses what the suite's editor would refuse.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QProcess>
#include <algorithm>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

ProgramRun RunTessel(const QStringList& words) {
  return RunProgram(STAND_IN_TOOL("tessel"), words);
}

}  // namespace

TEST(TesselStandIn, DrawsTheSymbolAndRefusesWhatItCannotShow) {
  TempDir dir;
  const fs::path project = CopyDemoProject(dir.path());
  const QString proj = QString::fromStdString(project.string());
  const QString png = QString::fromStdString(dir.str() + "/7400.png");

  ProgramRun run = RunTessel(
      {"-proj", proj, "-lib", "standard", "-cell", "7400", "-view", "sym_1", "-png", png});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("tessel: showing standard / 7400 / sym_1: symbol 7400, 3 pins"),
            std::string::npos)
      << run.out;
  const QImage image(png);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(640, 480));
  // The body is filled in the middle; the corners stay white.
  EXPECT_NE(image.pixel(320, 240), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));

  // No display and no platform named: it says what it would show and ends.
  QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "TESSEL_PNG"})
    bare.remove(name);
  run =
      RunProgram(STAND_IN_TOOL("tessel"),
                 {"-proj", proj, "-lib", "standard", "-cell", "7400", "-view", "sym_1"}, {}, bare);
  EXPECT_EQ(run.status, 0) << run.err;

  // A reference library only through a project that names it, with its list file.
  const QStringList lm358 = {"-lib", "refparts", "-cell", "lm358", "-view", "sym_1", "-png", png};
  run = RunTessel(QStringList{"-proj", proj} + lm358);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("library \"refparts\" is not a library of the project"), std::string::npos)
      << run.err;
  const fs::path temp = dir.write("demo/temp/demo_tmp.tak",
                                  "START_GLOBAL\nlibrary 'refparts' 'standard'\nEND_GLOBAL\n");
  const QString refList = QString::fromStdString(project.parent_path().string() + "/refqvd.lib");
  run = RunTessel(QStringList{"-proj", QString::fromStdString(temp.string()), "-qvdlib", refList} +
                  lm358);
  EXPECT_EQ(run.status, 0) << run.err;

  // No such part or view: said, and drawn as a message.
  run = RunTessel(
      {"-proj", proj, "-lib", "standard", "-cell", "9999", "-view", "sym_1", "-png", png});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("has no part \"9999\""), std::string::npos) << run.err;
  run = RunTessel(
      {"-proj", proj, "-lib", "standard", "-cell", "7400", "-view", "package", "-png", png});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot read the symbol view"), std::string::npos) << run.err;
}

// Imported symbols put each pin's connection point away from the body: the line runs from
// the body's edge to it, and the whole drawing stays inside the picture.
TEST(TesselStandIn, DrawsPinsAwayFromTheBodyWithinThePicture) {
  TempDir dir;
  const fs::path project = CopyDemoProject(dir.path());
  dir.write("demo/libs/standard/7400/sym_1/symbol.sym",
            "symbol 7400\norigin 0 0\nextent -350 -300 350 300\npin GND 0 -400\n"
            "pin VCC 0 400\npin TR -500 200\npin Q 500 200\n");
  const QString png = QString::fromStdString(dir.str() + "/pins.png");
  const ProgramRun run = RunTessel({"-proj", QString::fromStdString(project.string()), "-lib",
                                    "standard", "-cell", "7400", "-view", "sym_1", "-png", png});
  ASSERT_EQ(run.status, 0) << run.err;
  const QImage image(png);
  ASSERT_FALSE(image.isNull());
  // The column through VCC and GND: both pin lines in pin red, none cut by the picture's edge.
  int red = 0, top = image.height(), bottom = 0;
  for (int y = 0; y < image.height(); ++y) {
    const QColor c = image.pixelColor(image.width() / 2, y);
    if (c.red() < 100 || c.green() > 60 || c.blue() > 60) continue;
    ++red;
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  EXPECT_GT(red, 60);
  EXPECT_GT(top, 10);
  EXPECT_LT(bottom, image.height() - 30);
}
