// The stand-in layout editor as a real child process: it shows the footprint and, for a verify
// file, the check's verdict and findings beside it, drawn into a PNG file here; without any
// display it shows nothing and ends.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include "ProgramRun.h"
#include "TempDir.h"

namespace {

// How many pixels of the image have exactly that colour.
int Pixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

}  // namespace

TEST(PavrelStandIn, ShowsTheFootprintAndTheCheckWithItsFindings) {
  TempDir dir;
  const QString demo = QStringLiteral(KESTRA_SOURCE_DIR "/examples/demo/");
  const QString png = QString::fromStdString(dir.str() + "/fp.png");
  ProgramRun run =
      RunProgram(STAND_IN_TOOL("pavrel"),
                 {"-proj", "p", "-symbol", demo + "footprints/DIP14.dra", "-png", png});
  EXPECT_EQ(run.status, 0) << run.err;
  QImage image(png);
  ASSERT_EQ(image.size(), QSize(560, 480));
  const int padOne = Pixels(image, qRgb(230, 80, 60));  // pad 1 is drawn square, in red
  const int otherPads = Pixels(image, qRgb(210, 170, 60));
  EXPECT_GT(padOne, 100);
  EXPECT_GT(otherPads, 13 * padOne / 2) << "13 more pads";

  // A verify file: the window is wider, with a red "failed" band over the findings.
  const std::string verify = dir.write("verify.txt", "check symbol").string();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PAVREL_PNG", png);
  run = RunProgram(STAND_IN_TOOL("pavrel"),
                   {"-proj", "p", "-symbol", demo + "footprints_smd/QFP44.dra", "-verify",
                    QString::fromStdString(verify)},
                   {}, env);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("line 6: pad 45 outside 1..44"), std::string::npos) << run.out;
  image.load(png);
  ASSERT_EQ(image.width(), 900);
  EXPECT_EQ(image.pixel(image.width() - 20, 45), qRgb(170, 40, 40));

  // No display and no platform named: nothing to show, the tool ends.
  env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "PAVREL_PNG"})
    env.remove(name);
  run = RunProgram(STAND_IN_TOOL("pavrel"),
                   {"-proj", "p", "-symbol", demo + "footprints/DIP14.dra"}, {}, env, 20000);
  EXPECT_EQ(run.status, 0) << run.err;
}
