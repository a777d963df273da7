#include "verify/packaging/CPackagingVerifydlg.h"

#include "base/qvdCommon.h"
#include "context/CKestraCmdContext.h"
#include "dialogs/CResultsDlg.h"
#include "dialogs/CResultsDlg1.h"
#include "dialogs/LibraryTree.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CLHelpHandler.h"
#include "outside/CToolLauncher.h"
#include "verify/SelectedLibrary.h"
#include "verify/ToolRunObserver.h"
#include "verify/packaging/PackagingTexts.h"
#include "verify/packaging/ui_CPackagingVerifydlg.h"

namespace {

constexpr const char* kSelectLibrary = "Select a library/cell for verification";
constexpr const char* kLongReport =
    "WARNING: To generate this report, verification has be run on each part separately. This "
    "may take a long time!";

}  // namespace

CPackagingVerifydlg::CPackagingVerifydlg(CKestraCmdContext* command, CToolLauncher* launcher,
                                         QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CPackagingVerifydlg>()),
      command_(command),
      launcher_(launcher),
      runner_(*launcher, progress_, command->GetProduct(), GetSafeHwnd()) {
  ui_->setupUi(this);
}

CPackagingVerifydlg::~CPackagingVerifydlg() = default;

bool CPackagingVerifydlg::OnInitDialog() {
  CDialog::OnInitDialog();
  browser_ = ShowLibraryTree(*this, *command_, bitmaps_, icons_, 1, 2);

  CheckDlgButton(IDC_USE_PTF, options_ & kUseProjectPtfFiles);
  CheckDlgButton(IDC_UPTO_BOARD, options_ & kUptoBoard);
  validationType_ = ValidationTypeFromEnvironment();
  if (validationType_ == ValidationType::ConsistencyCheck) {
    EnableDlgItem(IDC_PASS_FAIL, false);
  } else {
    CheckDlgButton(IDC_PASS_FAIL, false);
  }
  return true;
}

bool CPackagingVerifydlg::OnCommand(int id) {
  switch (id) {
    case IDC_PASS_FAIL:
      OnPassFailReport();
      return true;
    default:
      return OnCloseOrHelp(id, IDC_CLOSE, IDC_HELP, IDC_CLOSE);
  }
}

void CPackagingVerifydlg::OnHelp() { CLHelpHandler::InvokeHelp(kHelpTopic); }

LRESULT CPackagingVerifydlg::OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  if (ObserveToolMessage(*launcher_, message, wParam, runner_)) return 1;
  return CDialog::OnMessage(message, wParam, lParam);
}

void CPackagingVerifydlg::OnPassFailReport() {
  if (!IsDlgButtonChecked(IDC_PASS_FAIL)) return;
  std::vector<std::string> libraries;
  browser_->GetSelectedLibList(libraries);
  if (libraries.empty()) return;
  library_ = libraries.front();
  browser_->GetSelectedCellList(library_, cells_);
  if (cells_.size() != 1) AfxMessageBox(kLongReport);
}

bool CPackagingVerifydlg::TakeSelectedLibrary() {
  library_ = SingleSelectedLibrary(*browser_, kSelectLibrary);
  if (library_.empty()) return false;
  browser_->GetSelectedCellList(library_, cells_);
  return true;
}

void CPackagingVerifydlg::OnOK() {
  // Verify: the dialog stays open for further runs.
  options_ = 0;
  if (IsDlgButtonChecked(IDC_USE_PTF)) options_ |= kUseProjectPtfFiles;
  if (IsDlgButtonChecked(IDC_UPTO_BOARD)) options_ |= kUptoBoard;
  if (IsDlgButtonChecked(IDC_PASS_FAIL)) options_ |= kPassFailReport;
  Verify();
}

void CPackagingVerifydlg::Verify() {
  if (!TakeSelectedLibrary()) return;
  PackagingRequest request;
  request.projectFile = command_->GetProject();
  request.projectPath = command_->GetProjectPath();
  request.library = library_;
  request.libraryPath = browser_->GetSelectedLibPath(library_);
  request.cells = cells_;
  request.consistency = validationType_ == ValidationType::ConsistencyCheck;
  if (!request.consistency && cells_.empty()) browser_->GetCellList(library_, request.libraryCells);
  request.options = options_;
  request.installRoot = qvdGetInstPath(nullptr);
  PackagingPlan plan;
  std::vector<VerifyResult> results = RunPackaging(request, runner_, plan);
  cells_ = plan.cells;
  if (!plan.lastArguments.empty()) lastArguments_ = plan.lastArguments;
  switch (plan.stage) {
    case PackagingStage::Refused:
      AfxMessageBox(plan.problem);
      return;
    case PackagingStage::Blocked:
      AfxMessageBox(plan.problem, MB_ICONERROR);
      return;
    case PackagingStage::NotStarted:  // the runner has said why
    case PackagingStage::Cancelled:   // no verdict
      return;
    case PackagingStage::Verdict:
      break;
  }
  results_ = std::move(results);
  ShowResults(plan);
}

void CPackagingVerifydlg::ShowResults(const PackagingPlan& plan) {
  if ((options_ & kPassFailReport) && validationType_ == ValidationType::Packager) {
    CResultsDlg1 results(command_, launcher_, browser_.get(), results_, library_);
    results.SetUnknownParts(plan.unknownParts);
    results.DoModal();
    return;
  }
  CResultsDlg results(command_, launcher_, results_.front());
  results.DoModal();
}
