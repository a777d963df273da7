// The inside of a CGXGridCore: the cell model, the Qt view once the grid is attached to a
// dialog, and the settings the view must be given again whenever the model is reset. UI
// thread only.
#pragma once

#include <QPointer>
#include <QTableView>
#include <map>
#include <memory>
#include <set>

#include "suite/grid/GridModel.h"

class GridState {
 public:
  GridState();
  ~GridState();

  // Shows the model in view (owned by its Qt parent) with the settings made so far.
  void Attach(QTableView* view);
  // Gives the view the column settings (hidden columns, widths) and the current cell again.
  void ApplyColumns();
  void SortOnHeader(int section);

  std::unique_ptr<GridModel> model;
  QPointer<QTableView> view;
  bool undo = true;
  bool moveColumns = true;
  bool sortOnDoubleClick = false;
  bool rangeSelection = true;
  bool toolTips = false;
  int minTrackWidth = 0;
  std::set<long> hiddenColumns;  // grid numbering; 0 is the row-header column
  std::map<long, int> widths;    // grid numbering
  long currentRow = 0;           // the current cell while there is no view (0: none)
  long currentColumn = 0;
  long sortColumn = 0;  // the column the last header double click sorted by
  bool sortAscending = true;
};
