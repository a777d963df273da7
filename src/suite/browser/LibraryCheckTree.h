// The browser's multiple-selection tree: libraries with their cells, each with a tick box.
// A library's cells are read the first time the library is expanded. Ticking a cell ticks
// its library; unticking a library unticks its cells; a ticked library without ticked cells
// stands for the whole library. The tree widget (object name "browserTree") is a child of,
// and owned by, the window given to Show. UI thread only.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "outside/OutsideTypes.h"

class CImageList;
class LibraryTree;
class QTreeWidget;
class QTreeWidgetItem;

class LibraryCheckTree {
 public:
  LibraryCheckTree(std::function<LibraryTree&()> currentTree, std::function<void()> changed);

  // icons: image 0 marks a library, image 1 a cell (when the list has them).
  void Show(QWidget* parent, CRect rect, const CImageList* icons, const std::string& initial);
  // Rebuilds the libraries from the current tree (after the library type changed).
  void Reload();
  bool IsShown() const { return !widget_.isNull(); }

  std::vector<std::string> SelectedLibraries() const;
  std::vector<std::string> SelectedCells(const std::string& library) const;

 private:
  QTreeWidgetItem* FindLibrary(const std::string& library) const;
  void LoadCells(QTreeWidgetItem* libraryItem);
  void Ticked(QTreeWidgetItem* item);

  std::function<LibraryTree&()> currentTree_;
  std::function<void()> changed_;
  QPointer<QTreeWidget> widget_;
  QIcon libraryIcon_;
  QIcon cellIcon_;
  bool propagating_ = false;
  QObject context_;  // owns the signal connections: they end with this object
};
