// mld: a stand-in for the suite's part-authoring tool, for the simulation views of a part.
//
//   mld -proj PROJECT [-lib LIB -cell CELL ACTION] [-mpssession S -mpshost H]
//
// ACTION is one of -newVerilogWrapper junk, -newVerilogMapFile junk, -newVhdlWrapper junk,
// -newVhdlMapFile junk ("junk" is a placeholder operand), -openVerilog VIEW, -openVhdl VIEW.
// A new view is made in the part's folder from its symbol's pins: the file goes into the
// family's view "verilog" (or "vhdl"), or into the first "verilog_N" ("vhdl_N") that does
// not have that file yet, so nothing is ever overwritten. Opening lists the view's files.
// The part is found from the project's folder's qvd.lib. Prints what it did, one line per
// action, then shows the files it made or opened in a window until it is closed. With
// -png FILE (or MLD_PNG=FILE in the environment) it draws that window into the PNG file
// instead and exits; on the offscreen platform, or with no display at all, it shows nothing.
// Exit status 1 when an action could not be done.
#include <QApplication>
#include <QFont>
#include <QPixmap>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "PartFolder.h"
#include "SimulationViewFiles.h"
#include "libformat/PackageView.h"
#include "libformat/SymbolView.h"
#include "libformat/ViewType.h"

namespace fs = std::filesystem;

namespace {

struct NewView {
  const char* option;
  const char* what;    // for the report
  const char* family;  // view directory name of the family
  const char* extension;
  bool map;
  bool verilog;
};

constexpr NewView kNewViews[] = {
    {"-newVerilogWrapper", "Verilog wrapper", "verilog", ".v", false, true},
    {"-newVerilogMapFile", "Verilog map file", "verilog", ".map", true, true},
    {"-newVhdlWrapper", "VHDL wrapper", "vhdl", ".vhd", false, false},
    {"-newVhdlMapFile", "VHDL map file", "vhdl", ".map", true, false},
};

// The pins of the part's first symbol view (in view name order); none without one.
std::optional<std::vector<std::string>> SymbolPins(const fs::path& cellDir, std::string& view) {
  std::vector<std::string> views;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(cellDir, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory() && ViewMatchesType(name, kSymbolViews)) views.push_back(name);
  }
  std::sort(views.begin(), views.end());
  for (const std::string& name : views) {
    const SymbolViewResult result = ReadSymbolView((cellDir / name / kSymbolFileName).string());
    if (!result.read) continue;
    view = name;
    std::vector<std::string> pins;
    for (const SymbolPin& pin : result.symbol.pins) pins.push_back(pin.name);
    return pins;
  }
  return std::nullopt;
}

// Pin types from the first physical part of the package view, when there is one.
std::vector<std::pair<std::string, std::string>> PinTypes(const fs::path& cellDir) {
  std::vector<std::pair<std::string, std::string>> types;
  const PackageViewResult result =
      ReadPackageView((cellDir / "package" / kPackageFileName).string());
  if (!result.read || result.package.physicalParts.empty()) return types;
  for (const PackagePin& pin : result.package.physicalParts.front().pins)
    types.emplace_back(pin.name, pin.type);
  return types;
}

// A file the tool made or opened, to be shown: what it is and its path.
struct ShownFile {
  std::string title;
  fs::path path;
};

// Writes text into a new file; false when the file exists or cannot be made.
bool WriteNewFile(const fs::path& file, const std::string& text) {
  std::FILE* out = std::fopen(file.c_str(), "wx");  // never replaces a file
  if (out == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fclose(out) == 0 && written;
}

int CreateView(const NewView& kind, const PartFolder& part, const std::string& cell,
               std::vector<ShownFile>& shown) {
  const fs::path cellDir = part.cellDir;
  std::string symbolView;
  const auto pins = SymbolPins(cellDir, symbolView);
  if (!pins) {
    std::cerr << "mld: " << cell << " has no symbol view to take the pins from" << std::endl;
    return 1;
  }
  const std::vector<WrapperPort> ports = PortsFor(*pins, PinTypes(cellDir));
  const std::string text = kind.map       ? PinMapText(ports)
                           : kind.verilog ? VerilogWrapperText(cell, ports)
                                          : VhdlWrapperText(cell, ports);
  const std::string fileName = cell + kind.extension;
  std::error_code error;
  for (int n = 0; n < 1000; ++n) {
    const std::string view =
        n == 0 ? kind.family : std::string(kind.family) + "_" + std::to_string(n);
    const fs::path dir = cellDir / view;
    if (fs::exists(dir / fileName, error)) continue;
    fs::create_directories(dir, error);
    if (!WriteNewFile(dir / fileName, text)) {
      std::cerr << "mld: cannot write " << (dir / fileName).string() << std::endl;
      return 1;
    }
    std::cout << "mld: created " << kind.what << " " << (dir / fileName).string() << " (view "
              << view << ") from " << ports.size() << " pins of " << symbolView << std::endl;
    shown.push_back({std::string("created ") + kind.what + " (view " + view + ")", dir / fileName});
    return 0;
  }
  std::cerr << "mld: no free view name for a new " << kind.what << std::endl;
  return 1;
}

int OpenView(const std::string& family, int viewType, const std::string& view,
             const PartFolder& part, std::vector<ShownFile>& shown) {
  const fs::path dir = fs::path(part.cellDir) / view;
  std::error_code error;
  if (!ViewMatchesType(view, viewType) || !fs::is_directory(dir, error)) {
    std::cerr << "mld: no " << family << " view \"" << view << "\" in " << part.cellDir
              << std::endl;
    return 1;
  }
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(dir, error)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path());
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    files.push_back(entry.path().filename().string() + " (" + std::to_string(lines) + " lines)");
    shown.push_back({"opened " + family + " view " + view, entry.path()});
  }
  std::sort(files.begin(), files.end());
  std::cout << "mld: opened " << family << " view " << dir.string() << ":";
  if (files.empty()) std::cout << " no files";
  for (std::size_t i = 0; i < files.size(); ++i) std::cout << (i ? ", " : " ") << files[i];
  std::cout << std::endl;
  return 0;
}

// The files shown one after the other, each under a heading with what it is and its path.
std::string ShownText(std::vector<ShownFile> shown) {
  std::sort(shown.begin(), shown.end(),
            [](const ShownFile& a, const ShownFile& b) { return a.path < b.path; });
  std::string text;
  for (const ShownFile& file : shown) {
    std::ifstream in(file.path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    text += (text.empty() ? "" : "\n") + std::string("=== ") + file.title + ": " +
            file.path.string() + "\n" + content.str();
  }
  return text;
}

// Shows the files in a window, or draws the window into png; the status to exit with.
int Show(int argc, char** argv, const std::string& png, const std::vector<ShownFile>& shown,
         const std::string& caption, int status) {
  if (shown.empty()) return status;
  // Drawing into a file needs no display; without one there is nothing to show.
  const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  if ((!png.empty() || !display) && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QPlainTextEdit window;
  window.setReadOnly(true);
  window.setFont(QFont("monospace", 10));
  window.setPlainText(QString::fromStdString(ShownText(shown)));
  window.setWindowTitle(QString::fromStdString("mld - " + caption));
  window.resize(720, 520);
  if (!png.empty()) {
    if (!window.grab().save(QString::fromStdString(png), "PNG")) {
      std::cerr << "mld: cannot write \"" << png << "\"" << std::endl;
      return 1;
    }
    std::cout << "mld: wrote " << png << std::endl;
    return status;
  }
  if (QGuiApplication::platformName() == "offscreen") return status;
  window.show();
  return app.exec() == 0 ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
  AppendStandinRecord("mld", argc, argv);
  SetInstallRootFromTool();
  const ToolOptions options = ParseToolOptions(argc, argv);
  for (const std::string& word : options.stray) std::cerr << "mld: ignored: " << word << "\n";
  const std::string library = options.Get("-lib");
  const std::string cell = options.Get("-cell");

  std::vector<std::string> actions;
  for (const std::string& option : options.order) {
    if (option != "-proj" && option != "-lib" && option != "-cell" && option != "-mpssession" &&
        option != "-mpshost" && option != "-png")
      actions.push_back(option);
  }
  if (actions.empty()) {
    std::cout << "mld: started for project " << options.Get("-proj")
              << (library.empty() ? "" : ", library " + library)
              << (cell.empty() ? "" : ", part " + cell) << "; nothing to create or open"
              << std::endl;
    return 0;
  }
  std::string error;
  const auto part = FindPartFolder(options.Get("-proj"), "", library, cell, error);
  if (!part) {
    std::cerr << "mld: " << error << std::endl;
    return 1;
  }
  int status = 0;
  std::vector<ShownFile> shown;
  for (const std::string& action : actions) {
    const NewView* kind = nullptr;
    for (const NewView& v : kNewViews) {
      if (action == v.option) kind = &v;
    }
    if (kind) {
      status |= CreateView(*kind, *part, cell, shown);
    } else if (action == "-openVerilog") {
      status |= OpenView("Verilog", kVerilogViews, options.Get(action), *part, shown);
    } else if (action == "-openVhdl") {
      status |= OpenView("VHDL", kVhdlViews, options.Get(action), *part, shown);
    } else {
      std::cerr << "mld: unknown option " << action << std::endl;
      status = 1;
    }
  }
  std::string png = options.Get("-png");
  if (png.empty() && std::getenv("MLD_PNG")) png = std::getenv("MLD_PNG");
  return Show(argc, argv, png, shown, library + " / " + cell, status);
}
