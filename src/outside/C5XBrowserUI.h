// KestraCore's library and cell browser: chooses libraries, cells and views of a project or
// of its reference libraries. Owned by the dialog that creates it; UI thread only. The
// widgets it shows are children of the parent window passed to the Show operations and are
// owned by that window. Problems with the lists and libraries (missing directories, bad
// lines, odd names) are written to standard error as they are met; the rest is still shown.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "outside/OutsideTypes.h"
#include "outside/SuiteExport.h"

class CImageList;
class C5XBrowserData;

class KESTRA_SUITE_API C5XBrowserUI {
 public:
  // Chooser kinds of ShowBrowserCombo, FillCombo and EnableBrowserCombo.
  enum { kLibrary = 1, kCell = 2, kView = 3 };

  // Offers the libraries listed in projectPath + "qvd.lib", or in projectPath + "refqvd.lib"
  // when the reference library type is chosen.
  C5XBrowserUI(std::string projectPath, std::string projectName);
  ~C5XBrowserUI();
  C5XBrowserUI(const C5XBrowserUI&) = delete;
  C5XBrowserUI& operator=(const C5XBrowserUI&) = delete;

  // The "Library Type" chooser (object name "libraryTypeChooser"): Project Libraries or
  // Reference Libraries. Switching refills the tree and the choosers.
  void ShowLibType(HWND parent, CRect label, CRect chooser);
  // One chooser of the chain library (1), cells of it (2), views of the chosen cell (3)
  // (object names "libraryChooser", "cellChooser", "viewChooser"). chooser's height is that
  // of the open list; an empty label rectangle shows no label. viewType (0 all, 6 symbol,
  // 7 VHDL, 8 Verilog) filters the view chooser; cells are never filtered.
  void ShowBrowserCombo(HWND parent, int kind, CRect chooser, CRect label, int viewType);
  // The tick-box tree of libraries and their cells (object name "browserTree") at tree.
  // icons: image 0 marks libraries, image 1 cells; text names a library ticked at the start.
  // kind, other, bitmaps (Qt draws its own tick boxes), option1 and option2 are accepted for
  // the callers' sake: several libraries can always be ticked, the dialogs refuse more than
  // one. The icon list is copied; neither image list is kept.
  void ShowBrowserTree(HWND parent, int kind, CRect tree, CRect other, CImageList* bitmaps,
                       CImageList* icons, std::string text, int option1, int option2);
  // Refills chooser kind and the choosers after it, keeping choices still offered.
  void FillCombo(int kind);
  void EnableBrowserCombo(int enable, int kind);
  // Sets the view chooser's view type; FillCombo(3) then shows the views of that family.
  void SetViewFilter(int viewType);

  // Preselect a library or cell: kept when the chooser offers it, else its first entry.
  void SetSelectedLib(std::string library);
  void SetSelectedCell(std::string cell);
  std::string GetSelectedLib();
  std::string GetSelectedCell();
  std::string GetSelectedView();
  // The directory of a project or reference library ("" when neither list names it).
  std::string GetSelectedLibPath(std::string library);
  // The ticked libraries in tree order (without a tree: the library chooser's choice).
  void GetSelectedLibList(std::vector<std::string>& libraries);
  // The ticked cells of library (without a tree: the cell chooser's choice). Replaces cells.
  void GetSelectedCellList(std::string library, std::vector<std::string>& cells);
  // Every selectable cell of library in the library type in use. Replaces cells.
  void GetCellList(std::string library, std::vector<std::string>& cells);
  // Non-zero while the library-type chooser is on Reference Libraries.
  int IsRefLibSelected();
  // Non-zero when the project or reference list names library and its directory exists.
  int IsLibExisting(std::string library);

  // Two browsers of one dialog can share one place for a family of views (the simulation
  // views editor): ExchangeViewChooser swaps this browser's view chooser (its widget, label,
  // view type and choice) with other's, so that GetSelectedView, FillCombo(3),
  // EnableBrowserCombo(.., 3) and SetViewFilter of each browser act on the chooser it holds
  // now. CopyViewChooserSetting makes this browser's view chooser list the views of the
  // library and cell chosen in source, now and after every later choice there (the setting
  // copied is the chooser's source of library and cell); it lasts while both browsers live.
  void ExchangeViewChooser(C5XBrowserUI& other);
  void CopyViewChooserSetting(C5XBrowserUI& source);

  C5XBrowserData* GetBrowserData();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};
