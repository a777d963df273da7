// What a simulation-flow run asks of cellsim: the librarian's settings, the library as the
// browser locates it, the run mode, the status line and the options text. Standard C++ only;
// any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Which simulation views the run checks ("Wrappers" or "Mapfiles").
enum class CellsimViewKind { None, Wrapper, Map };
// Where the Verilog models and UDPs come from; None while Stop On Netlist is checked.
enum class CellsimPathSource { None, Default, Specify, OptionsFile };

struct CellsimSettings {
  CellsimViewKind viewKind = CellsimViewKind::Wrapper;
  CellsimPathSource pathSource = CellsimPathSource::Default;
  bool stopOnNetlist = false;
  std::string views;        // the names of the views to check, as typed
  std::string modelDir;     // "Specify paths"
  std::string udpDir;       // "Specify paths", may be empty
  std::string optionsFile;  // "Path to Options file"
};

// The selected library: its name as the browser shows it and the folders cellsim is given.
struct CellsimLibrary {
  std::string name;           // not mapped
  std::string path;           // the browser's GetSelectedLibPath
  std::string parent;         // ParentPath(path): -libdir
  std::string directoryName;  // LastPathComponent(path): -lib
  std::string directory;      // parent + "/" + directoryName
};

CellsimLibrary LocateCellsimLibrary(const std::string& name, const std::string& path);

// 0 for the whole library (no cell), 1 for one cell, 2 for several.
int CellsimRunMode(std::size_t selectedCells);

// Mode 2's cell list: each cell's mapped name (the name as selected when it cannot be
// mapped), quoted when it holds a blank, followed by one blank.
std::string CellsimCellListText(const std::vector<std::string>& cells);

// "Library : L", then ",  Part : C" in mode 1 or ", Parts : Multiple" in mode 2.
std::string CellsimStatusText(const std::string& library, int mode, const std::string& cell);

// "" when the library's folder name and the cells' names (as cellsim is given them: mapped
// when several) can reach cellsim as intact words; else the message to show, naming the first
// that cannot.
std::string CheckCellsimNames(const CellsimLibrary& library, const std::vector<std::string>& cells);

// The room of the options text, without its terminator.
inline constexpr std::size_t kCellsimOptionsRoom = 1023;

// The checks made once the library is known, in order: default paths need the library's
// vlog_model_path.txt, the views text must not be empty. "" or the message to show.
std::string CheckCellsimRequest(const CellsimSettings& settings, const CellsimLibrary& library);

// Composes the options text for mode 0, 1 (cell) or 2 (cellList), ending in one blank. Values
// with blanks are quoted for the launcher's splitting. "" on success, else the message to
// show (a missing options file or model directory, or a text longer than the room it has,
// naming its longest part); options is then left empty.
std::string ComposeCellsimOptions(const CellsimSettings& settings, const CellsimLibrary& library,
                                  int mode, const std::string& cell, const std::string& cellList,
                                  std::string& options);
