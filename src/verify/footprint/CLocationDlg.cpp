#include "verify/footprint/CLocationDlg.h"

#include <QApplication>

#include "framework/Prompter.h"
#include "outside/CFootprint.h"
#include "verify/footprint/FootprintTexts.h"
#include "verify/footprint/ui_CLocationDlg.h"

namespace {

// The wait cursor from construction to the end of the scope.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

constexpr long kNameColumn = 1;
constexpr long kLocationColumn = 2;

}  // namespace

CLocationDlg::CLocationDlg(const std::vector<CFootprintItem*>& items, CFootprint* footprints,
                           QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CLocationDlg>()),
      items_(items),
      footprints_(footprints) {
  ui_->setupUi(this);
}

CLocationDlg::~CLocationDlg() = default;

bool CLocationDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  WaitCursor wait;
  grid_.SubclassDlgItem(IDC_GRID, GetSafeHwnd());
  grid_.Initialize();
  CGXGridParam* param = grid_.GetParam();
  param->EnableUndo(false);
  grid_.SetRowCount(static_cast<long>(items_.size()));
  grid_.SetColCount(2);
  param->SetMinTrackColWidth(50);
  grid_.SetStyleRange(CGXRange(0, kNameColumn), CGXStyle().SetValue("Footprint").SetReadOnly(true));
  grid_.SetStyleRange(CGXRange(0, kLocationColumn),
                      CGXStyle().SetValue("Location").SetReadOnly(true));
  grid_.HideCols(0, 0);
  grid_.SetColWidth(kNameColumn, kNameColumn, 80);
  grid_.SetColWidth(kLocationColumn, kLocationColumn, 210);
  param->EnableSelection(GX_SELNONE);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const long row = static_cast<long>(i) + 1;
    grid_.SetStyleRange(
        CGXRange(row, kNameColumn),
        CGXStyle().SetValue(footprints_->GetPropValue(items_[i])).SetReadOnly(true));
    grid_.SetStyleRange(CGXRange(row, kLocationColumn),
                        CGXStyle().SetValue(footprints_->GetPropPath(items_[i])).SetReadOnly(true));
  }
  if (grid_.SetCurrentCell(1, 1)) grid_.ScrollCellInView(1, 1);
  param->EnableUndo(true);
  return true;
}

void CLocationDlg::OnOK() {
  // The chosen text is the row's location: the name is the same in every row, and the viewer
  // must open the drawing in the folder the user picked.
  long row = 0, column = 0;
  chosen_ = grid_.GetCurrentCell(row, column) ? grid_.GetValueRowCol(row, kLocationColumn) : "";
  if (chosen_.empty()) {
    AfxMessageBox(kNoLocationChosen);
    return;
  }
  EndDialog(IDOK);
}
