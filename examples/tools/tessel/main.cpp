// tessel: a stand-in for the suite's schematic editor that shows one symbol view.
//
//   tessel -proj PROJECT [-qvdlib LIST] -lib LIB -cell CELL -view VIEW [-png FILE]
//
// Finds the part as the suite's tools do (the list file LIST, else the project folder's
// qvd.lib; the library must be one of the project's GLOBAL "library" values when it has
// any), reads <part>/<view>/symbol.sym and shows it in a window. With -png FILE (or
// TESSEL_PNG=FILE in the environment) it draws into that PNG file instead and exits; on
// the offscreen platform, or with no display at all, where no window can be seen, it prints
// what it would show and exits. Prints one line about what it shows; exit status 1 when the symbol
// cannot be shown.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "PartFolder.h"
#include "SymbolPainter.h"

namespace {

class SymbolWindow final : public QWidget {
 public:
  explicit SymbolWindow(SymbolDrawing drawing) : drawing_(std::move(drawing)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    PaintSymbol(painter, rect(), drawing_);
  }

 private:
  SymbolDrawing drawing_;
};

// Reads the symbol the options name; sets drawing.error when it cannot be shown.
SymbolDrawing LoadDrawing(const ToolOptions& options) {
  SymbolDrawing drawing;
  const std::string library = options.Get("-lib");
  const std::string cell = options.Get("-cell");
  const std::string view = options.Get("-view");
  drawing.caption = library + " / " + cell + " / " + view;
  if (view.empty()) {
    drawing.error = "no view given (-view)";
    return drawing;
  }
  std::string error;
  const auto part =
      FindPartFolder(options.Get("-proj"), options.Get("-qvdlib"), library, cell, error);
  if (!part) {
    drawing.error = error;
    return drawing;
  }
  const std::string file = (std::filesystem::path(part->cellDir) / view / kSymbolFileName).string();
  SymbolViewResult result = ReadSymbolView(file);
  if (!result.read) {
    drawing.error = "cannot read the symbol view \"" + file + "\"";
    return drawing;
  }
  drawing.symbol = std::move(result.symbol);
  for (const FormatIssue& issue : result.issues) drawing.notes.push_back(issue.ToString());
  return drawing;
}

bool WritePng(const SymbolDrawing& drawing, const std::string& file) {
  QImage image(640, 480, QImage::Format_ARGB32);
  QPainter painter(&image);
  PaintSymbol(painter, image.rect(), drawing);
  painter.end();
  return image.save(QString::fromStdString(file), "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  AppendStandinRecord("tessel", argc, argv);
  SetInstallRootFromTool();
  const ToolOptions options = ParseToolOptions(argc, argv);
  std::string png = options.Get("-png");
  if (png.empty() && std::getenv("TESSEL_PNG")) png = std::getenv("TESSEL_PNG");
  // Drawing into a file needs no display; without one there is nothing to show (rather than
  // Qt aborting for want of a display).
  const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  if ((!png.empty() || !display) && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  const SymbolDrawing drawing = LoadDrawing(options);
  for (const std::string& word : options.stray) std::cerr << "tessel: ignored: " << word << "\n";
  for (const std::string& note : drawing.notes) std::cerr << "tessel: " << note << "\n";
  if (!drawing.error.empty()) {
    std::cerr << "tessel: " << drawing.error << std::endl;
  } else {
    std::cout << "tessel: showing " << drawing.caption << ": symbol " << drawing.symbol.name << ", "
              << drawing.symbol.pins.size() << " pins" << std::endl;
  }
  const int status = drawing.error.empty() ? 0 : 1;

  if (!png.empty()) {
    if (!WritePng(drawing, png)) {
      std::cerr << "tessel: cannot write \"" << png << "\"" << std::endl;
      return 1;
    }
    std::cout << "tessel: wrote " << png << std::endl;
    return status;
  }
  if (QGuiApplication::platformName() == "offscreen") return status;

  SymbolWindow window(drawing);
  window.setWindowTitle(QString::fromStdString("tessel - " + drawing.caption));
  window.resize(640, 480);
  window.show();
  return app.exec() == 0 ? status : 1;
}
