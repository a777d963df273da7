// The grid control library (classes prefixed CGX): a table of cells addressed by row and
// column from 1, with row 0 the column headers and column 0 the row headers. Here the grid is
// a Qt table view over a model (src/suite/grid): cells are values in the model, never widgets.
//
// Changes to cells and counts are cheap and batched: the view learns of them once, when
// control returns to the event loop or when an operation needs the view (current cell,
// scrolling). UI thread only.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "outside/OutsideTypes.h"
#include "outside/SuiteExport.h"

// Initialises the grid library for a language (0x0800: the system default) with an optional
// language library and path; once when the module loads.
KESTRA_SUITE_API void GXInit(unsigned language, const char* languageLibrary, const char* path);

// Control kinds and user attributes of the grid library.
constexpr unsigned GX_IDS_CTRL_EDIT = 52512;
constexpr unsigned GX_IDS_CTRL_STATIC = 52513;
constexpr unsigned GX_IDS_UA_TOOLTIPTEXT = 51022;
// Selection flags of CGXGridParam::EnableSelection.
constexpr unsigned GX_SELNONE = 0;
constexpr unsigned GX_SELROW = 0x1;

// One cell (row, column), or the block from (top, left) to (bottom, right).
class KESTRA_SUITE_API CGXRange {
 public:
  CGXRange(long row, long column);
  CGXRange(long top, long left, long bottom, long right);
  long top;
  long left;
  long bottom;
  long right;
};

// What to set on cells: only the parts that were given are applied.
class KESTRA_SUITE_API CGXStyle {
 public:
  CGXStyle& SetValue(std::string value);
  CGXStyle& SetReadOnly(bool readOnly);
  CGXStyle& SetControl(unsigned control);
  CGXStyle& SetUserAttribute(unsigned id, std::string value);

  bool hasValue = false;
  std::string value;
  bool hasReadOnly = false;
  bool readOnly = false;
  unsigned control = 0;  // 0: not given
  std::vector<std::pair<unsigned, std::string>> userAttributes;
};

class GridState;

// Grid-wide settings; belongs to its grid.
class KESTRA_SUITE_API CGXGridParam {
 public:
  explicit CGXGridParam(GridState& grid) : grid_(grid) {}
  void EnableUndo(bool enable);
  bool IsEnableUndo() const;
  void EnableMoveCols(bool enable);
  void SetMinTrackColWidth(int width);
  int GetMinTrackColWidth() const;
  // A double click on a column header sorts the rows by that column (again: the other way).
  void SetSortRowsOnDblClk(bool enable);
  // GX_SELNONE: one current cell, no range selection.
  void EnableSelection(unsigned flags);

 private:
  GridState& grid_;
};

class KESTRA_SUITE_API CGXGridCore {
 public:
  CGXGridCore();
  virtual ~CGXGridCore();
  CGXGridCore(const CGXGridCore&) = delete;
  CGXGridCore& operator=(const CGXGridCore&) = delete;

  bool SetStyleRange(const CGXRange& range, const CGXStyle& style);
  bool SetValueRange(const CGXRange& range, std::string value);
  std::string GetValueRowCol(long row, long column);
  // The user attribute `id` of a cell ("" when not set).
  std::string GetUserAttributeRowCol(long row, long column, unsigned id);
  bool IsReadOnlyRowCol(long row, long column);
  // The current cell; false when there is none.
  bool GetCurrentCell(long& row, long& column);
  bool SetCurrentCell(long row, long column);
  void ScrollCellInView(long row, long column);
  // Tool-tips show each cell's user attribute GX_IDS_UA_TOOLTIPTEXT.
  void EnableGridToolTips(bool enable);
  CGXGridParam* GetParam();

  bool SetRowCount(long rows);
  bool SetColCount(long columns);
  long GetRowCount();
  long GetColCount();
  // Inserts `count` empty rows before `row` (GetRowCount() + 1 appends).
  bool InsertRows(long row, long count);
  // Hides (or shows) columns first..last; column 0 is the row-header column.
  bool HideCols(long first, long last, bool hide = true);
  bool IsColHidden(long column);
  bool SetColWidth(long first, long last, int width);
  int GetColWidth(long column);
  // Sorts the rows by a column's values, ascending or descending (what a header double
  // click does when enabled).
  void SortRows(long column, bool ascending);

 protected:
  std::unique_ptr<GridState> state_;
  CGXGridParam param_;
};

class KESTRA_SUITE_API CGXGridWnd : public CGXGridCore {
 public:
  CGXGridWnd();
  ~CGXGridWnd() override;
  // Takes the place of the dialog's control `id` (a placeholder widget of the template): the
  // grid's view appears where it was, owned by the dialog. False when there is no such control.
  bool SubclassDlgItem(int id, HWND parent);
  void Initialize();
  // The Qt view (tests and the dialog's keyboard handling); null before SubclassDlgItem.
  QWidget* GetView() const;
};
