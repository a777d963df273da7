// The grid: a Qt table view over a model, driven through the CGX calls, headless.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>

#include "framework/CDialog.h"
#include "outside/GridControl.h"

namespace {

// A dialog with one placeholder control (id 500) for the grid to take over.
class GridHost final : public CDialog {
 public:
  GridHost() : CDialog(1) {
    auto* placeholder = new QWidget(this);
    placeholder->setProperty("ctrlId", 500);
    placeholder->setGeometry(0, 0, 400, 300);
    resize(400, 300);
  }
};

void Fill(CGXGridWnd& grid, const std::vector<std::string>& names) {
  grid.SetRowCount(0);
  grid.InsertRows(1, static_cast<long>(names.size()));
  long row = 0;
  for (const std::string& name : names) {
    ++row;
    grid.SetStyleRange(CGXRange(row, 1), CGXStyle()
                                             .SetControl(GX_IDS_CTRL_STATIC)
                                             .SetValue(name)
                                             .SetUserAttribute(GX_IDS_UA_TOOLTIPTEXT, name)
                                             .SetReadOnly(true));
    grid.SetStyleRange(CGXRange(row, 2), CGXStyle().SetValue("dir/" + name).SetReadOnly(true));
  }
}

std::vector<std::string> Column(CGXGridCore& grid, long column) {
  std::vector<std::string> values;
  for (long r = 1; r <= grid.GetRowCount(); ++r) values.push_back(grid.GetValueRowCol(r, column));
  return values;
}

}  // namespace

TEST(Grid, CellsCountsAndHeadersWithoutAView) {
  CGXGridWnd grid;
  EXPECT_EQ(grid.GetView(), nullptr);
  grid.SetColCount(2);
  EXPECT_TRUE(grid.SetStyleRange(CGXRange(0, 1), CGXStyle().SetValue("Footprint")));
  EXPECT_EQ(grid.GetValueRowCol(0, 1), "Footprint");
  Fill(grid, {"B", "A"});
  EXPECT_EQ(grid.GetRowCount(), 2);
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(grid.GetUserAttributeRowCol(2, 1, GX_IDS_UA_TOOLTIPTEXT), "A");
  EXPECT_EQ(grid.GetUserAttributeRowCol(2, 2, GX_IDS_UA_TOOLTIPTEXT), "");
  EXPECT_TRUE(grid.IsReadOnlyRowCol(1, 1));
  // Outside the grid nothing is set and nothing is read.
  EXPECT_FALSE(grid.SetValueRange(CGXRange(3, 1), "x"));
  EXPECT_EQ(grid.GetValueRowCol(9, 9), "");
  EXPECT_FALSE(grid.InsertRows(5, 1));
  // A row inserted in the middle; a block set at once.
  EXPECT_TRUE(grid.InsertRows(2, 1));
  EXPECT_TRUE(grid.SetStyleRange(CGXRange(1, 1, 3, 1), CGXStyle().SetReadOnly(false)));
  EXPECT_FALSE(grid.IsReadOnlyRowCol(2, 1));
  EXPECT_TRUE(grid.SetValueRange(CGXRange(2, 1), "M"));
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"B", "M", "A"}));
  // The current cell without a view.
  long row = 0, column = 0;
  EXPECT_FALSE(grid.GetCurrentCell(row, column));
  EXPECT_TRUE(grid.SetCurrentCell(3, 1));
  ASSERT_TRUE(grid.GetCurrentCell(row, column));
  EXPECT_EQ(row, 3);
  grid.SetRowCount(0);
  EXPECT_FALSE(grid.GetCurrentCell(row, column)) << "the current row is gone";
  EXPECT_FALSE(grid.SetCurrentCell(1, 1));
}

TEST(Grid, TheViewShowsTheModelWithTheGridsSettings) {
  GridHost host;
  CGXGridWnd grid;
  ASSERT_TRUE(grid.SubclassDlgItem(500, host.GetSafeHwnd()));
  EXPECT_FALSE(grid.SubclassDlgItem(501, host.GetSafeHwnd()));
  auto* view = qobject_cast<QTableView*>(grid.GetView());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.GetDlgItem(500), view) << "the view takes the control's id";
  grid.Initialize();
  grid.EnableGridToolTips(true);
  CGXGridParam* param = grid.GetParam();
  param->EnableSelection(GX_SELNONE);
  param->EnableUndo(false);
  param->SetSortRowsOnDblClk(true);
  grid.SetColCount(2);
  param->SetMinTrackColWidth(50);
  grid.SetStyleRange(CGXRange(0, 1), CGXStyle().SetValue("Footprint").SetReadOnly(true));
  grid.SetStyleRange(CGXRange(0, 2), CGXStyle().SetValue("Location").SetReadOnly(true));
  grid.HideCols(0, 0);
  grid.SetColWidth(1, 1, 250);
  param->EnableMoveCols(false);
  Fill(grid, {"SO8", "dip14", "DIP8"});
  grid.HideCols(2, 2);
  ASSERT_TRUE(grid.SetCurrentCell(1, 1));
  grid.ScrollCellInView(1, 1);

  QAbstractItemModel* model = view->model();
  EXPECT_EQ(model->rowCount(), 3);
  EXPECT_EQ(model->columnCount(), 2);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Footprint");
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Location");
  EXPECT_EQ(model->data(model->index(1, 0)).toString(), "dip14");
  EXPECT_EQ(model->data(model->index(1, 0), Qt::ToolTipRole).toString(), "dip14");
  EXPECT_FALSE(model->flags(model->index(1, 0)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model->flags(model->index(1, 1)) & Qt::ItemIsEditable);
  EXPECT_FALSE(view->verticalHeader()->isVisible() && !view->verticalHeader()->isHidden());
  EXPECT_TRUE(view->verticalHeader()->isHidden());
  EXPECT_TRUE(view->isColumnHidden(1));
  EXPECT_TRUE(grid.IsColHidden(2));
  EXPECT_FALSE(view->isColumnHidden(0));
  EXPECT_EQ(grid.GetColWidth(1), 250);
  EXPECT_EQ(view->horizontalHeader()->minimumSectionSize(), 50);
  EXPECT_FALSE(view->horizontalHeader()->sectionsMovable());
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_FALSE(param->IsEnableUndo());
  long row = 0, column = 0;
  ASSERT_TRUE(grid.GetCurrentCell(row, column));
  EXPECT_EQ(row, 1);
  EXPECT_EQ(column, 1);

  // The user picks another row; the grid reports it.
  view->setCurrentIndex(model->index(2, 0));
  ASSERT_TRUE(grid.GetCurrentCell(row, column));
  EXPECT_EQ(grid.GetValueRowCol(row, 1), "DIP8");

  // A header double click sorts (ignoring case); another one turns the order round.
  emit view->horizontalHeader()->sectionDoubleClicked(0);
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"dip14", "DIP8", "SO8"}));
  EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"dir/dip14", "dir/DIP8", "dir/SO8"}));
  EXPECT_EQ(model->data(model->index(0, 0)).toString(), "dip14");
  emit view->horizontalHeader()->sectionDoubleClicked(0);
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"SO8", "DIP8", "dip14"}));

  // A refill with fewer rows resets the view but keeps the column settings.
  Fill(grid, {"QFP44"});
  ASSERT_TRUE(grid.SetCurrentCell(1, 1));
  EXPECT_EQ(model->rowCount(), 1);
  EXPECT_TRUE(view->isColumnHidden(1));
  EXPECT_EQ(grid.GetColWidth(1), 250);
  // Emptied: no current cell.
  grid.SetRowCount(0);
  EXPECT_FALSE(grid.GetCurrentCell(row, column));
  EXPECT_EQ(model->rowCount(), 0);
}

TEST(Grid, ChangesReachTheViewOnceWhenControlReturns) {
  GridHost host;
  CGXGridWnd grid;
  ASSERT_TRUE(grid.SubclassDlgItem(500, host.GetSafeHwnd()));
  grid.SetColCount(1);
  QAbstractItemModel* model = static_cast<QTableView*>(grid.GetView())->model();
  int resets = 0;
  QObject::connect(model, &QAbstractItemModel::modelReset, [&] { ++resets; });
  std::vector<std::string> many(5000, "X");
  Fill(grid, many);
  EXPECT_EQ(resets, 0) << "no view work while filling";
  QCoreApplication::processEvents();
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(model->rowCount(), 5000);
  // Editable cells (not read-only, not static) can be edited in the view.
  grid.SetRowCount(0);
  grid.SetRowCount(1);
  grid.SetStyleRange(CGXRange(1, 1), CGXStyle().SetValue("old"));
  QCoreApplication::processEvents();
  EXPECT_TRUE(model->setData(model->index(0, 0), "new"));
  EXPECT_EQ(grid.GetValueRowCol(1, 1), "new");
}
