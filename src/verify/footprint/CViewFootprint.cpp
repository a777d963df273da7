#include "verify/footprint/CViewFootprint.h"

#include <QLineEdit>

#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "outside/CLHelpHandler.h"
#include "outside/CToolLauncher.h"
#include "verify/footprint/CLocationDlg.h"
#include "verify/footprint/FootprintRows.h"
#include "verify/footprint/FootprintTexts.h"
#include "verify/footprint/ui_CViewFootprint.h"

namespace {
constexpr long kNameColumn = 1;
constexpr long kLocationColumn = 2;
}  // namespace

CViewFootprint::CViewFootprint(CKestraCmdContext* command, CToolLauncher* launcher,
                               std::string mode, QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CViewFootprint>()),
      command_(command),
      launcher_(launcher),
      mode_(std::move(mode)) {
  ui_->setupUi(this);
  connect(ui_->filterEdit, &QLineEdit::textChanged, this, [this] { OnFilterChanged(); });
}

CViewFootprint::~CViewFootprint() {
  // The list goes with the dialog.
  footprints_.DeleteFootprintList();
}

bool CViewFootprint::IsVerifyMode() const { return mode_ == kFootprintVerifyMode; }

bool CViewFootprint::OnInitDialog() {
  CDialog::OnInitDialog();
  grid_.SubclassDlgItem(IDC_GRID, GetSafeHwnd());
  grid_.Initialize();
  grid_.EnableGridToolTips(true);

  BuildFootprintList(footprints_, command_->GetProject());

  CGXGridParam* param = grid_.GetParam();
  param->EnableSelection(GX_SELNONE);
  param->EnableUndo(false);
  param->SetSortRowsOnDblClk(true);
  grid_.SetColCount(2);
  param->SetMinTrackColWidth(50);
  grid_.SetStyleRange(CGXRange(0, kNameColumn), CGXStyle().SetValue("Footprint").SetReadOnly(true));
  grid_.SetStyleRange(CGXRange(0, kLocationColumn),
                      CGXStyle().SetValue("Location").SetReadOnly(true));
  grid_.HideCols(0, 0);
  grid_.SetColWidth(kNameColumn, kNameColumn, 250);
  param->EnableMoveCols(false);

  FillGrid();
  grid_.HideCols(kLocationColumn, kLocationColumn);
  if (grid_.GetRowCount() > 0 && grid_.SetCurrentCell(1, 1)) grid_.ScrollCellInView(1, 1);

  if (IsVerifyMode()) SetDlgItemText(IDC_VIEW, "&Verify");
  return true;
}

void CViewFootprint::FillGrid() {
  std::vector<CFootprintItem*> items;
  footprints_.GetFootprintList(items);
  if (items.empty() || !grid_.GetView()) return;
  grid_.GetParam()->EnableUndo(false);
  grid_.SetRowCount(0);
  const std::vector<FootprintRow> rows = MatchingFootprints(footprints_, filter_, filterText_);
  grid_.InsertRows(1, static_cast<long>(rows.size()));
  // One style per column, given each row's texts in turn.
  CGXStyle nameStyle, locationStyle;
  nameStyle.SetControl(GX_IDS_CTRL_STATIC).SetReadOnly(true);
  locationStyle.SetControl(GX_IDS_CTRL_STATIC).SetReadOnly(true);
  long row = 0;
  for (const FootprintRow& footprint : rows) {
    ++row;
    nameStyle.SetValue(footprint.name).SetUserAttribute(GX_IDS_UA_TOOLTIPTEXT, footprint.name);
    grid_.SetStyleRange(CGXRange(row, kNameColumn), nameStyle);
    grid_.SetStyleRange(CGXRange(row, kLocationColumn), locationStyle.SetValue(footprint.location));
  }
  if (row > 0 && grid_.SetCurrentCell(1, 1)) grid_.ScrollCellInView(1, 1);
  GotoDlgCtrl(IDC_FILTER);
}

void CViewFootprint::OnFilterChanged() {
  filterText_ = GetDlgItemText(IDC_FILTER);
  FillGrid();
}

void CViewFootprint::OnView() {
  long row = 0, column = 0;
  const std::string name =
      grid_.GetCurrentCell(row, column) ? grid_.GetValueRowCol(row, kNameColumn) : "";
  if (name.empty()) {
    AfxMessageBox(kNoFootprintChosen);
    return;
  }
  std::string verifyFile;
  if (IsVerifyMode()) {
    verifyFile = FootprintVerifyFilePath(command_->GetProjectPath());
    if (!WriteFootprintVerifyFile(verifyFile)) {
      AfxMessageBox(kVerifyFileFailed);
      return;
    }
  }
  CFootprint search;
  search.DeleteFootprintList();
  search.CreateFootprintList(command_->GetProject(), FootprintDrawingName(name), 0, 1);
  std::vector<CFootprintItem*> found;
  search.GetFootprintList(found);
  if (found.empty()) {
    AfxMessageBox(kDrawingNotFound);
    return;
  }
  std::string location;
  if (found.size() > 1) {
    CLocationDlg locations(found, &footprints_, nullptr);
    locations.DoModal();
    location = locations.ChosenText();
  }
  // The search knows the drawing it found; it opens the one in the chosen folder.
  search.LaunchViewer(command_->GetProduct(), command_->GetProject(), launcher_, location,
                      verifyFile);
}

void CViewFootprint::OnPcbEditorSetup() {
  launcher_->launchSetupDesk(SetupDeskArguments(command_->GetProject()), command_->GetProduct(),
                             GetSafeHwnd());
}

void CViewFootprint::Refresh() {
  BuildFootprintList(footprints_, command_->GetProject());
  grid_.SetRowCount(0);
  FillGrid();
  if (grid_.GetRowCount() > 0) grid_.SetCurrentCell(1, 1);
}

void CViewFootprint::OnOK() {
  // Enter presses the default button, View; it never ends the dialog.
  OnView();
}

bool CViewFootprint::OnCommand(int id) {
  switch (id) {
    case IDC_VIEW:
      OnView();
      return true;
    case IDC_SETUP:
      OnPcbEditorSetup();
      return true;
    default:
      return OnCloseOrHelp(id, IDC_CLOSE, IDC_HELP, 1);
  }
}

LRESULT CViewFootprint::OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TOOL_PROGRESS) {
    // The setup tool's output has no pane here; it is fetched so that none is kept.
    launcher_->GetProgressDialogDetail();
    return 1;
  }
  if (message == WM_TOOL_ENDED) {
    if (wParam == 1) Refresh();
    return 1;
  }
  return CDialog::OnMessage(message, wParam, lParam);
}

void CViewFootprint::OnHelp() {
  CLHelpHandler::InvokeHelp(IsVerifyMode() ? kVerifyHelpTopic : kViewHelpTopic);
}
