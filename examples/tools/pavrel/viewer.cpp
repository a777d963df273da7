// pavrel, the stand-in layout editor. Started as the footprint viewer with
//   -proj "<project>" -symbol "<footprint file>" [-verify "<verify file>"] [-png FILE]
// it says which footprint it opens; when the verify file holds "check symbol" it checks the
// footprint file's syntax, prints each finding and the verdict, and writes the same lines to
// pavrel_verify.log beside the verify file. Then it shows the footprint in a window, with the
// check's verdict and findings beside it, until the window is closed. With -png FILE (or
// PAVREL_PNG=FILE in the environment) it draws the window into that PNG file instead and
// exits; on the offscreen platform, or with no display at all, it shows nothing. Exit status
// 0, or 1 when the check found errors or the footprint could not be opened. Without -symbol
// (the Pavrel command) it only says how it was started.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "FootprintPainter.h"
#include "StandinRecord.h"
#include "verify/footprint/FootprintCheck.h"
#include "verify/footprint/FootprintTexts.h"

namespace fs = std::filesystem;

namespace {

std::string Option(int argc, char** argv, const std::string& name) {
  for (int i = 1; i + 1 < argc; ++i)
    if (argv[i] == name) return argv[i + 1];
  return "";
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class FootprintWindow final : public QWidget {
 public:
  explicit FootprintWindow(FootprintDrawing drawing) : drawing_(std::move(drawing)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    PaintFootprint(painter, rect(), drawing_);
  }

 private:
  FootprintDrawing drawing_;
};

// Shows the drawing as the viewer's window, or draws it into png; the status to exit with.
int Show(int argc, char** argv, const FootprintDrawing& drawing, int status) {
  std::string png = Option(argc, argv, "-png");
  if (png.empty() && std::getenv("PAVREL_PNG")) png = std::getenv("PAVREL_PNG");
  // Drawing into a file needs no display; without one there is nothing to show.
  const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  if ((!png.empty() || !display) && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const QSize size(drawing.checked ? 900 : 560, 480);
  if (!png.empty()) {
    QImage image(size, QImage::Format_ARGB32);
    QPainter painter(&image);
    PaintFootprint(painter, image.rect(), drawing);
    painter.end();
    if (!image.save(QString::fromStdString(png), "PNG")) {
      std::cerr << "pavrel: cannot write \"" << png << "\"" << std::endl;
      return 1;
    }
    std::cout << "pavrel: wrote " << png << std::endl;
    return status;
  }
  if (QGuiApplication::platformName() == "offscreen") return status;
  FootprintWindow window(drawing);
  window.setWindowTitle(QString::fromStdString("pavrel - " + drawing.name));
  window.resize(size);
  window.show();
  return app.exec() == 0 ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
  RecordStandinStart("pavrel", argc, argv);
  const std::string symbol = Option(argc, argv, "-symbol");
  if (symbol.empty()) return 0;
  std::error_code error;
  if (!fs::is_regular_file(symbol, error)) {
    std::cout << "pavrel: cannot open " << symbol << std::endl;
    return 1;
  }
  std::cout << "pavrel: viewing " << symbol << std::endl;
  FootprintDrawing drawing = ReadFootprintDrawing(symbol);
  const std::string verifyFile = Option(argc, argv, "-verify");
  if (verifyFile.empty()) return Show(argc, argv, drawing, 0);

  const std::string request = FileText(verifyFile);
  if (request != kVerifyFileText) {
    std::cout << "pavrel: the verify file " << verifyFile << " does not say \"" << kVerifyFileText
              << "\"; nothing checked" << std::endl;
    return Show(argc, argv, drawing, 0);
  }
  const std::string name = fs::path(symbol).stem().string();
  const FootprintCheck check = CheckFootprintFile(symbol, name);
  drawing.checked = true;
  drawing.findings = check.findings;
  std::vector<std::string> lines;
  for (const std::string& finding : check.findings) lines.push_back(symbol + ": " + finding);
  lines.push_back("pavrel: check of " + name + ": " +
                  (check.findings.empty() ? "passed" : "failed") + " (" +
                  std::to_string(check.findings.size()) + " errors)");
  const fs::path report = fs::path(verifyFile).parent_path() / "pavrel_verify.log";
  std::ofstream out(report, std::ios::trunc);
  for (const std::string& line : lines) {
    std::cout << line << "\n";
    out << line << "\n";
  }
  std::cout.flush();
  return Show(argc, argv, drawing, check.findings.empty() ? 0 : 1);
}
