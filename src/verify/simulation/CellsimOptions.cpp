#include "verify/simulation/CellsimOptions.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "base/ArgumentValue.h"
#include "base/MapLibraryName.h"
#include "base/QuoteArgument.h"
#include "verify/PathNames.h"
#include "verify/simulation/CellsimTexts.h"

namespace {

// The cell's name as the options text gives it.
std::string CellWord(const CellsimLibrary& library, const std::string& cell, bool several) {
  return several ? MapLibraryName(cell).value_or(cell)
                 : LastPathComponent(library.path + "/" + cell);
}

std::string RefusedName(const char* what, const std::string& name, const std::string& why) {
  return std::string("Unable to run checks: the ") + what + " \"" + name +
         "\" cannot be passed to cellsim: " + why;
}

}  // namespace

CellsimLibrary LocateCellsimLibrary(const std::string& name, const std::string& path) {
  CellsimLibrary library;
  library.name = name;
  library.path = path;
  library.parent = ParentPath(path);
  library.directoryName = LastPathComponent(path);
  library.directory = library.parent + "/" + library.directoryName;
  return library;
}

int CellsimRunMode(std::size_t selectedCells) {
  return selectedCells == 0 ? 0 : selectedCells == 1 ? 1 : 2;
}

std::string CellsimCellListText(const std::vector<std::string>& cells) {
  std::string text;
  for (const std::string& cell : cells) {
    text += QuoteIfNeeded(CellWord({}, cell, true)) + " ";
  }
  return text;
}

std::string CellsimStatusText(const std::string& library, int mode, const std::string& cell) {
  std::string text = "Library : " + library;
  if (mode == 1) text += ",  Part : " + cell;
  if (mode == 2) text += ", Parts : Multiple";
  return text;
}

std::string CheckCellsimRequest(const CellsimSettings& settings, const CellsimLibrary& library) {
  std::error_code error;
  if (settings.pathSource == CellsimPathSource::Default &&
      !std::filesystem::exists(library.directory + "/vlog_model_path.txt", error)) {
    return kCellsimNoDefaultPaths;
  }
  if (settings.views.empty()) return kCellsimNoViews;
  return "";
}

std::string CheckCellsimNames(const CellsimLibrary& library,
                              const std::vector<std::string>& cells) {
  if (std::string why = ToolNameProblem(library.directoryName); !why.empty())
    return RefusedName("library folder", library.directoryName, why);
  for (const std::string& cell : cells) {
    const std::string word = CellWord(library, cell, cells.size() > 1);
    if (std::string why = ToolNameProblem(word); !why.empty())
      return RefusedName("cell name", word, why);
  }
  return "";
}

namespace {

// A named piece of the options text, for telling which one makes it too long.
struct Piece {
  const char* what;
  std::size_t length;
};

std::string TooLong(std::size_t length, const std::vector<Piece>& pieces) {
  Piece longest{"", 0};
  for (const Piece& piece : pieces) {
    if (piece.length > longest.length) longest = piece;
  }
  return "Unable to run checks: the options for cellsim would be " + std::to_string(length) +
         " characters long, more than the " + std::to_string(kCellsimOptionsRoom) +
         " they may have; the longest part is " + longest.what + " (" +
         std::to_string(longest.length) + " characters)";
}

}  // namespace

std::string ComposeCellsimOptions(const CellsimSettings& settings, const CellsimLibrary& library,
                                  int mode, const std::string& cell, const std::string& cellList,
                                  std::string& options) {
  options.clear();
  const std::string parent = QuoteIfNeeded(library.parent);
  const std::string name = QuoteIfNeeded(library.directoryName);
  std::string text = "-libdir " + parent + " -lib " + name;
  std::vector<Piece> pieces{{"the library's folder", parent.size()},
                            {"the library's name", name.size()}};
  if (mode == 1) {
    const std::string cellName = QuoteIfNeeded(CellWord(library, cell, false));
    text += " -cell " + cellName;
    pieces.push_back({"the cell's name", cellName.size()});
  } else if (mode == 2) {
    text += " -cell " + cellList;
    pieces.push_back({"the list of cells", cellList.size()});
  }
  text += " -clean ";

  const std::string views = " " + settings.views;
  pieces.push_back({"the views text", views.size()});
  const char* viewWord = settings.viewKind == CellsimViewKind::Map       ? " -mapview "
                         : settings.viewKind == CellsimViewKind::Wrapper ? " -wrapperview "
                                                                         : nullptr;
  if (viewWord != nullptr) {
    if (settings.stopOnNetlist) {
      text += viewWord + views + " -sim OFF ";
    } else if (settings.pathSource == CellsimPathSource::OptionsFile) {
      text += viewWord + views;
      if (settings.optionsFile.empty()) return kCellsimNoOptionsFile;
      const std::string file = QuoteIfNeeded(settings.optionsFile);
      text += " -vloptions " + file;
      pieces.push_back({"the options file's path", file.size()});
    } else if (settings.pathSource == CellsimPathSource::Default) {
      text += viewWord + views + " -vlogmodeldir default";
    } else if (settings.pathSource == CellsimPathSource::Specify) {
      text += viewWord + views;
      if (settings.modelDir.empty()) return kCellsimNoModels;
      const std::string models = QuoteIfNeeded(settings.modelDir);
      text += " -vlogmodeldir " + models;
      pieces.push_back({"the models' folder", models.size()});
      if (!settings.udpDir.empty()) {
        const std::string udps = QuoteIfNeeded(settings.udpDir);
        text += " -vlogudpdir " + udps;
        pieces.push_back({"the UDPs' folder", udps.size()});
      }
    }
  }
  text += " ";
  // The tool's options have a fixed room; a longer text is refused whole rather than cut.
  if (text.size() > kCellsimOptionsRoom) return TooLong(text.size(), pieces);
  options = std::move(text);
  return "";
}
