#include "suite/grid/GridModel.h"

#include <algorithm>

#include "outside/GridControl.h"

namespace {

int CompareIgnoringCase(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    const int ux = (x >= 'a' && x <= 'z') ? x - 32 : x;
    const int uy = (y >= 'a' && y <= 'z') ? y - 32 : y;
    if (ux != uy) return ux < uy ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

QString Text(const std::string& text) { return QString::fromUtf8(text.data(), text.size()); }

}  // namespace

const std::string* GridCell::UserAttribute(unsigned id) const {
  if (id == GX_IDS_UA_TOOLTIPTEXT) return hasToolTip ? &toolTip : nullptr;
  for (const auto& [key, text] : userAttributes)
    if (key == id) return &text;
  return nullptr;
}

void GridCell::SetUserAttribute(unsigned id, std::string text) {
  if (id == GX_IDS_UA_TOOLTIPTEXT) {
    toolTip = std::move(text);
    hasToolTip = true;
    return;
  }
  for (auto& [key, value] : userAttributes) {
    if (key == id) {
      value = std::move(text);
      return;
    }
  }
  userAttributes.emplace_back(id, std::move(text));
}

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

GridCell* GridModel::Cell(long row, long column) {
  if (column < 1 || column > columns_ || row < 0 || row > rows_) return nullptr;
  if (row == 0) return &headers_[static_cast<std::size_t>(column - 1)];
  return &cells_[static_cast<std::size_t>((row - 1) * columns_ + column - 1)];
}

void GridModel::SetRowCount(long rows) {
  rows_ = std::max(0L, rows);
  cells_.resize(static_cast<std::size_t>(rows_ * columns_));
  Touch();
}

void GridModel::SetColumnCount(long columns) {
  columns = std::max(0L, columns);
  if (columns != columns_ && rows_ > 0) {
    std::vector<GridCell> cells(static_cast<std::size_t>(rows_ * columns));
    for (long r = 0; r < rows_; ++r)
      for (long c = 0; c < std::min(columns, columns_); ++c)
        cells[static_cast<std::size_t>(r * columns + c)] =
            std::move(cells_[static_cast<std::size_t>(r * columns_ + c)]);
    cells_ = std::move(cells);
  }
  columns_ = columns;
  headers_.resize(static_cast<std::size_t>(columns_));
  Touch();
}

void GridModel::InsertRows(long before, long count) {
  if (count <= 0) return;
  before = std::clamp(before, 1L, rows_ + 1);
  cells_.insert(cells_.begin() + (before - 1) * columns_,
                static_cast<std::size_t>(count * columns_), GridCell());
  rows_ += count;
  Touch();
}

void GridModel::SortRows(long column, bool ascending) {
  if (column < 1 || column > columns_) return;
  std::vector<long> order(static_cast<std::size_t>(rows_));
  for (long r = 0; r < rows_; ++r) order[static_cast<std::size_t>(r)] = r;
  const auto key = [&](long r) -> const std::string& {
    return cells_[static_cast<std::size_t>(r * columns_ + column - 1)].value;
  };
  std::stable_sort(order.begin(), order.end(), [&](long a, long b) {
    const int compared = CompareIgnoringCase(key(a), key(b));
    return ascending ? compared < 0 : compared > 0;
  });
  std::vector<GridCell> sorted;
  sorted.reserve(cells_.size());
  for (long r : order)
    for (long c = 0; c < columns_; ++c)
      sorted.push_back(std::move(cells_[static_cast<std::size_t>(r * columns_ + c)]));
  cells_ = std::move(sorted);
  Touch();
}

void GridModel::Touch() {
  dirty_ = true;
  if (queued_) return;
  queued_ = true;
  QMetaObject::invokeMethod(
      this, [this] { Publish(); }, Qt::QueuedConnection);
}

bool GridModel::Publish() {
  queued_ = false;
  if (!dirty_) return false;
  dirty_ = false;
  const int rows = static_cast<int>(rows_);
  const int columns = static_cast<int>(columns_);
  if (rows != publishedRows_ || columns != publishedColumns_) {
    beginResetModel();
    publishedRows_ = rows;
    publishedColumns_ = columns;
    endResetModel();
    emit Republished();
    return true;
  }
  if (rows > 0 && columns > 0) emit dataChanged(index(0, 0), index(rows - 1, columns - 1));
  if (columns > 0) emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
  return false;
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : publishedRows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : publishedColumns_;
}

const GridCell* GridModel::StoredCell(const QModelIndex& index) const {
  // The store may be ahead of what the view was told; it is the truth in both directions.
  if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) return nullptr;
  return &cells_[static_cast<std::size_t>(index.row() * columns_ + index.column())];
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  const GridCell* cell = StoredCell(index);
  if (!cell) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole) return Text(cell->value);
  if (role == Qt::ToolTipRole && toolTips_) {
    if (const std::string* tip = cell->UserAttribute(GX_IDS_UA_TOOLTIPTEXT)) return Text(*tip);
  }
  return {};
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  cells_[static_cast<std::size_t>(index.row() * columns_ + index.column())].value =
      value.toString().toStdString();
  emit dataChanged(index, index);
  return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= columns_) return {};
  return Text(headers_[static_cast<std::size_t>(section)].value);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  const GridCell* cell = StoredCell(index);
  if (!cell) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!cell->readOnly && cell->control != GX_IDS_CTRL_STATIC) flags |= Qt::ItemIsEditable;
  return flags;
}
