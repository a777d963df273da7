// The cells of a grid as a Qt table model. Grid row r (from 1) is model row r - 1, grid
// column c (from 1) is model column c - 1; grid row 0 gives the column headers. Changes are
// made to the store at once and reach the view in one step (Publish), so that filling
// thousands of rows costs no view work per row. UI thread only.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <utility>
#include <vector>

struct GridCell {
  std::string value;
  bool readOnly = false;
  bool hasToolTip = false;
  unsigned control = 0;  // 0: the grid's edit control
  std::string toolTip;   // user attribute GX_IDS_UA_TOOLTIPTEXT, kept apart: every name has one
  std::vector<std::pair<unsigned, std::string>> userAttributes;  // the others

  const std::string* UserAttribute(unsigned id) const;
  void SetUserAttribute(unsigned id, std::string text);
};

class GridModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit GridModel(QObject* parent = nullptr);

  // The store, in grid numbering: rows 1..RowCount(), columns 1..ColumnCount(); row 0 the
  // headers. Cell returns null outside the grid.
  long RowCount() const { return rows_; }
  long ColumnCount() const { return columns_; }
  GridCell* Cell(long row, long column);
  void SetRowCount(long rows);
  void SetColumnCount(long columns);
  void InsertRows(long before, long count);
  void SortRows(long column, bool ascending);
  void SetToolTips(bool enable) { toolTips_ = enable; }

  // Something changed: the view hears of it once, at the next Publish (queued at once).
  void Touch();
  // Brings the view up to date now; true when the row or column count changed (the view was
  // reset).
  bool Publish();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // After a Publish that reset the view (column states must be applied again).
  void Republished();

 private:
  const GridCell* StoredCell(const QModelIndex& index) const;

  // Row after row, columns_ cells each: one allocation for the whole table.
  std::vector<GridCell> cells_;
  std::vector<GridCell> headers_;
  long rows_ = 0;
  long columns_ = 0;
  int publishedRows_ = 0;
  int publishedColumns_ = 0;
  bool dirty_ = false;
  bool queued_ = false;
  bool toolTips_ = false;
};
