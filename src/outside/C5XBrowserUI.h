// KestraCore's library and cell browser: chooses libraries, cells and views of a project or
// of its reference libraries. Owned by the dialog that creates it; UI thread only. The
// widgets it shows are children of the parent window passed to the Show operations and are
// owned by that window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "OutsideTypes.h"

class CImageList;
class C5XBrowserData;

class C5XBrowserUI {
 public:
  // Chooser kinds of ShowBrowserCombo, FillCombo and EnableBrowserCombo.
  enum { kLibrary = 1, kCell = 2, kView = 3 };

  // Offers the libraries listed in projectPath + "qvd.lib", or in projectPath + "refqvd.lib"
  // when the reference library type is chosen.
  C5XBrowserUI(std::string projectPath, std::string projectName);
  ~C5XBrowserUI();
  C5XBrowserUI(const C5XBrowserUI&) = delete;
  C5XBrowserUI& operator=(const C5XBrowserUI&) = delete;

  void ShowLibType(HWND parent, CRect label, CRect chooser);
  void ShowBrowserCombo(HWND parent, int kind, CRect chooser, CRect label, int viewType);
  void ShowBrowserTree(HWND parent, int kind, CRect tree, CRect other, CImageList* bitmaps,
                       CImageList* icons, std::string text, int option1, int option2);
  void FillCombo(int kind);
  void EnableBrowserCombo(int enable, int kind);
  void SetViewFilter(int viewType);

  void SetSelectedLib(std::string library);
  void SetSelectedCell(std::string cell);
  std::string GetSelectedLib();
  std::string GetSelectedCell();
  std::string GetSelectedView();
  std::string GetSelectedLibPath(std::string library);
  void GetSelectedLibList(std::vector<std::string>& libraries);
  void GetSelectedCellList(std::string library, std::vector<std::string>& cells);
  void GetCellList(std::string library, std::vector<std::string>& cells);
  int IsRefLibSelected();
  int IsLibExisting(std::string library);

  C5XBrowserData* GetBrowserData();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};
