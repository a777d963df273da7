#include <QHeaderView>

#include "framework/CDialog.h"
#include "outside/GridControl.h"
#include "suite/grid/GridState.h"

GridState::GridState() : model(std::make_unique<GridModel>()) {}

GridState::~GridState() {
  // The view outlives the grid when the dialog's widgets go after its members.
  if (view) view->setModel(nullptr);
}

void GridState::Attach(QTableView* table) {
  view = table;
  view->setModel(model.get());
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  view->setWordWrap(false);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  QObject::connect(model.get(), &GridModel::Republished, model.get(), [this] { ApplyColumns(); });
  QObject::connect(view->horizontalHeader(), &QHeaderView::sectionDoubleClicked, model.get(),
                   [this](int section) { SortOnHeader(section); });
  ApplyColumns();
}

void GridState::ApplyColumns() {
  if (!view) return;
  QHeaderView* header = view->horizontalHeader();
  header->setSectionsMovable(moveColumns);
  header->setMinimumSectionSize(std::max(minTrackWidth, 1));
  header->setSectionsClickable(sortOnDoubleClick);
  view->setSelectionMode(rangeSelection ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
  view->verticalHeader()->setVisible(hiddenColumns.count(0) == 0);
  for (long c = 1; c <= model->ColumnCount(); ++c) {
    view->setColumnHidden(static_cast<int>(c - 1), hiddenColumns.count(c) != 0);
    if (auto width = widths.find(c); width != widths.end())
      view->setColumnWidth(static_cast<int>(c - 1), width->second);
  }
}

void GridState::SortOnHeader(int section) {
  if (!sortOnDoubleClick) return;
  const long column = section + 1;
  sortAscending = column == sortColumn ? !sortAscending : true;
  sortColumn = column;
  model->SortRows(column, sortAscending);
  model->Publish();
  if (view) {
    view->horizontalHeader()->setSortIndicatorShown(true);
    view->horizontalHeader()->setSortIndicator(
        section, sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
  }
}

CGXRange::CGXRange(long row, long column) : top(row), left(column), bottom(row), right(column) {}

CGXRange::CGXRange(long top_, long left_, long bottom_, long right_)
    : top(top_), left(left_), bottom(bottom_), right(right_) {}

CGXStyle& CGXStyle::SetValue(std::string text) {
  value = std::move(text);
  hasValue = true;
  return *this;
}

CGXStyle& CGXStyle::SetReadOnly(bool flag) {
  readOnly = flag;
  hasReadOnly = true;
  return *this;
}

CGXStyle& CGXStyle::SetControl(unsigned kind) {
  control = kind;
  return *this;
}

CGXStyle& CGXStyle::SetUserAttribute(unsigned id, std::string text) {
  // One value per attribute: setting it again replaces it (a style reused row after row).
  for (auto& [key, value] : userAttributes) {
    if (key == id) {
      value = std::move(text);
      return *this;
    }
  }
  userAttributes.emplace_back(id, std::move(text));
  return *this;
}

void CGXGridParam::EnableUndo(bool enable) { grid_.undo = enable; }
bool CGXGridParam::IsEnableUndo() const { return grid_.undo; }

void CGXGridParam::EnableMoveCols(bool enable) {
  grid_.moveColumns = enable;
  grid_.ApplyColumns();
}

void CGXGridParam::SetMinTrackColWidth(int width) {
  grid_.minTrackWidth = width;
  grid_.ApplyColumns();
}
int CGXGridParam::GetMinTrackColWidth() const { return grid_.minTrackWidth; }

void CGXGridParam::SetSortRowsOnDblClk(bool enable) {
  grid_.sortOnDoubleClick = enable;
  grid_.ApplyColumns();
}

void CGXGridParam::EnableSelection(unsigned flags) {
  grid_.rangeSelection = flags != GX_SELNONE;
  grid_.ApplyColumns();
}

CGXGridCore::CGXGridCore() : state_(std::make_unique<GridState>()), param_(*state_) {}

CGXGridCore::~CGXGridCore() = default;

bool CGXGridCore::SetStyleRange(const CGXRange& range, const CGXStyle& style) {
  GridModel& model = *state_->model;
  bool any = false;
  for (long r = range.top; r <= range.bottom; ++r) {
    for (long c = range.left; c <= range.right; ++c) {
      GridCell* cell = model.Cell(r, c);
      if (!cell) continue;
      any = true;
      if (style.hasValue) cell->value = style.value;
      if (style.hasReadOnly) cell->readOnly = style.readOnly;
      if (style.control != 0) cell->control = style.control;
      for (const auto& [id, text] : style.userAttributes) cell->SetUserAttribute(id, text);
    }
  }
  if (any) model.Touch();
  return any;
}

bool CGXGridCore::SetValueRange(const CGXRange& range, std::string value) {
  return SetStyleRange(range, CGXStyle().SetValue(std::move(value)));
}

std::string CGXGridCore::GetValueRowCol(long row, long column) {
  const GridCell* cell = state_->model->Cell(row, column);
  return cell ? cell->value : std::string();
}

std::string CGXGridCore::GetUserAttributeRowCol(long row, long column, unsigned id) {
  const GridCell* cell = state_->model->Cell(row, column);
  const std::string* text = cell ? cell->UserAttribute(id) : nullptr;
  return text ? *text : std::string();
}

bool CGXGridCore::IsReadOnlyRowCol(long row, long column) {
  const GridCell* cell = state_->model->Cell(row, column);
  return cell && (cell->readOnly || cell->control == GX_IDS_CTRL_STATIC);
}

bool CGXGridCore::GetCurrentCell(long& row, long& column) {
  GridState& s = *state_;
  if (s.view) {
    s.model->Publish();
    const QModelIndex current = s.view->currentIndex();
    if (!current.isValid()) return false;
    row = current.row() + 1;
    column = current.column() + 1;
  } else {
    if (!s.model->Cell(s.currentRow, s.currentColumn) || s.currentRow < 1) return false;
    row = s.currentRow;
    column = s.currentColumn;
  }
  return true;
}

bool CGXGridCore::SetCurrentCell(long row, long column) {
  GridState& s = *state_;
  if (row < 1 || !s.model->Cell(row, column)) return false;
  s.currentRow = row;
  s.currentColumn = column;
  if (s.view) {
    s.model->Publish();
    s.view->setCurrentIndex(
        s.model->index(static_cast<int>(row - 1), static_cast<int>(column - 1)));
  }
  return true;
}

void CGXGridCore::ScrollCellInView(long row, long column) {
  GridState& s = *state_;
  if (!s.view || row < 1 || !s.model->Cell(row, column)) return;
  s.model->Publish();
  s.view->scrollTo(s.model->index(static_cast<int>(row - 1), static_cast<int>(column - 1)));
}

void CGXGridCore::EnableGridToolTips(bool enable) {
  state_->toolTips = enable;
  state_->model->SetToolTips(enable);
}

CGXGridParam* CGXGridCore::GetParam() { return &param_; }

bool CGXGridCore::SetRowCount(long rows) {
  if (rows < 0) return false;
  state_->model->SetRowCount(rows);
  return true;
}

bool CGXGridCore::SetColCount(long columns) {
  if (columns < 0) return false;
  state_->model->SetColumnCount(columns);
  return true;
}

long CGXGridCore::GetRowCount() { return state_->model->RowCount(); }
long CGXGridCore::GetColCount() { return state_->model->ColumnCount(); }

bool CGXGridCore::InsertRows(long row, long count) {
  if (count <= 0 || row < 1 || row > GetRowCount() + 1) return false;
  state_->model->InsertRows(row, count);
  return true;
}

bool CGXGridCore::HideCols(long first, long last, bool hide) {
  if (first < 0 || last < first) return false;
  for (long c = first; c <= last; ++c) {
    if (hide) {
      state_->hiddenColumns.insert(c);
    } else {
      state_->hiddenColumns.erase(c);
    }
  }
  state_->ApplyColumns();
  return true;
}

bool CGXGridCore::IsColHidden(long column) { return state_->hiddenColumns.count(column) != 0; }

bool CGXGridCore::SetColWidth(long first, long last, int width) {
  if (first < 1 || last < first || width < 0) return false;
  for (long c = first; c <= last; ++c) state_->widths[c] = width;
  state_->ApplyColumns();
  return true;
}

int CGXGridCore::GetColWidth(long column) {
  GridState& s = *state_;
  if (s.view && column >= 1 && column <= s.model->ColumnCount()) {
    s.model->Publish();
    return s.view->columnWidth(static_cast<int>(column - 1));
  }
  auto width = s.widths.find(column);
  return width != s.widths.end() ? width->second : 0;
}

void CGXGridCore::SortRows(long column, bool ascending) {
  state_->model->SortRows(column, ascending);
}

CGXGridWnd::CGXGridWnd() = default;
CGXGridWnd::~CGXGridWnd() = default;

bool CGXGridWnd::SubclassDlgItem(int id, HWND parent) {
  auto* dialog = qobject_cast<CDialog*>(parent);
  QWidget* placeholder = dialog ? dialog->GetDlgItem(id) : nullptr;
  if (!placeholder) return false;
  // The template's control is the table view itself, or a placeholder the view fills.
  auto* view = qobject_cast<QTableView*>(placeholder);
  if (!view) {
    view = new QTableView(placeholder->parentWidget());  // owned by the dialog
    view->setGeometry(placeholder->geometry());
    view->setObjectName(placeholder->objectName());
    view->setProperty("ctrlId", id);
    placeholder->setProperty("ctrlId", QVariant());
    placeholder->hide();
  }
  state_->Attach(view);
  return true;
}

void CGXGridWnd::Initialize() { state_->ApplyColumns(); }

QWidget* CGXGridWnd::GetView() const { return state_->view; }
