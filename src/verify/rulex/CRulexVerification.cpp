#include "verify/rulex/CRulexVerification.h"

#include "context/CKestraCmdContext.h"
#include "dialogs/CResultsDlg.h"
#include "dialogs/LibraryTree.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CLHelpHandler.h"
#include "outside/CToolLauncher.h"
#include "verify/ProgressDialogSink.h"
#include "verify/SelectedLibrary.h"
#include "verify/rulex/RulexFlow.h"
#include "verify/rulex/RulexRequestFor.h"
#include "verify/rulex/RulexRules.h"
#include "verify/rulex/ui_CRulexVerification.h"

namespace {

constexpr const char* kNoLibrarySelected = "Select a cell/library for verification";

// Runs the checker attached to the dialog's window while the progress dialog is shown; the
// detail reaches the progress dialog's pane through the dialog's OnMessage.
class DialogToolRunner final : public RulexToolRunner {
 public:
  DialogToolRunner(CToolLauncher& launcher, CProgressDlg& progress, std::string product, HWND owner)
      : launcher_(launcher), progress_(progress), product_(std::move(product)), owner_(owner) {}

  bool Run(const RulexPlan& plan) override {
    // The lock note opens the pane; the tool's first output, arriving before the pane
    // exists, comes after it.
    progress_.SetPendingDetail(plan.lockNote);
    launcher_.launchRulex(plan.options, product_, owner_);
    progress_.SetLauncher(&launcher_);
    progress_.SetStatusText(plan.statusText);
    return progress_.DoModal() == 1;
  }
  int EndSignal() const override { return launcher_.GetLastEndSignal(); }

 private:
  CToolLauncher& launcher_;
  CProgressDlg& progress_;
  std::string product_;
  HWND owner_;
};

}  // namespace

CRulexVerification::CRulexVerification(CKestraCmdContext* command, CToolLauncher* launcher,
                                       QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CRulexVerification>()),
      command_(command),
      launcher_(launcher) {
  ui_->setupUi(this);
}

CRulexVerification::~CRulexVerification() = default;

bool CRulexVerification::OnInitDialog() {
  CDialog::OnInitDialog();
  browser_ = ShowLibraryTree(*this, *command_, bitmaps_, icons_, 1, 1);

  CheckDlgButton(IDC_MINIMAL, true);
  for (const RulexRule& rule : RulexRuleTable()) {
    CheckDlgButton(rule.controlId, (ruleSelection_ >> rule.bit) & 1);
  }
  EnableDlgItem(IDC_LAUNCH, false);
  return true;
}

bool CRulexVerification::OnCommand(int id) {
  switch (id) {
    case IDC_MINIMAL:
      OnMinimalChecks();
      return true;
    case IDC_ADVANCED:
      OnAdvancedChecks();
      return true;
    case IDC_LAUNCH:
      LaunchAdvancedChecks();
      return true;
    default:
      return OnCloseOrHelp(id, IDC_CLOSE, IDC_HELP, IDC_CLOSE);
  }
}

void CRulexVerification::OnHelp() { CLHelpHandler::InvokeHelp(kHelpTopic); }

LRESULT CRulexVerification::OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  ProgressDialogSink sink(progress_);
  if (ObserveToolMessage(*launcher_, message, wParam, sink)) return 1;
  return CDialog::OnMessage(message, wParam, lParam);
}

void CRulexVerification::EnableRuleBoxes(bool enable) {
  for (const RulexRule& rule : RulexRuleTable()) EnableDlgItem(rule.controlId, enable);
}

void CRulexVerification::OnMinimalChecks() {
  CheckDlgButton(IDC_MINIMAL, true);
  EnableRuleBoxes(true);
  CheckDlgButton(IDC_ADVANCED, false);
  // A return to minimal mode selects every rule again.
  for (const RulexRule& rule : RulexRuleTable()) CheckDlgButton(rule.controlId, true);
  EnableDlgItem(IDC_LAUNCH, false);
  EnableDlgItem(IDOK, true);
}

void CRulexVerification::OnAdvancedChecks() {
  CheckDlgButton(IDC_ADVANCED, true);
  CheckDlgButton(IDC_MINIMAL, false);
  EnableRuleBoxes(false);
  EnableDlgItem(IDC_LAUNCH, true);
  EnableDlgItem(IDOK, false);
}

void CRulexVerification::OnOK() {
  // Verify: the dialog stays open for further runs.
  ruleSelection_ = 0;
  for (const RulexRule& rule : RulexRuleTable()) {
    if (IsDlgButtonChecked(rule.controlId))
      ruleSelection_ |= static_cast<std::uint16_t>(1u << rule.bit);
  }
  if (!IsDlgButtonChecked(IDC_MINIMAL)) return;
  const std::vector<int> rules = MakeRuleList(ruleSelection_);
  if (!AnyRuleSelected(rules)) {
    AfxMessageBox("No Rules Selected");
    return;
  }
  const std::string library = SingleSelectedLibrary(*browser_, kNoLibrarySelected);
  if (library.empty()) return;
  std::vector<std::string> cells;
  browser_->GetSelectedCellList(library, cells);
  const std::string cell = cells.size() == 1 ? cells.front() : "";
  if (RunMinimalChecks(MappedOrSelected(library), cell, rules) == 1) {
    AfxMessageBox(kRulexLogError, MB_ICONERROR);
  }
}

bool CRulexVerification::ReportPreparationFailure(const RulexOutcome& outcome,
                                                  const char* tempProjectMessage) {
  if (outcome.stage == RulexStage::LogProblem) return false;
  const std::string text = RulexFailureText(outcome, tempProjectMessage);
  if (text.empty()) return false;
  // Only the temporary project's message is a plain one; the others carry the error icon.
  AfxMessageBox(text, outcome.stage == RulexStage::TempProjectFailed ? MB_OK : MB_ICONERROR);
  return true;
}

int CRulexVerification::RunMinimalChecks(const std::string& library, const std::string& cell,
                                         const std::vector<int>& rules) {
  std::vector<std::string> selected;
  browser_->GetSelectedLibList(selected);
  const RulexRequest request =
      RulexRequestFor(*command_, library, cell, selected, browser_->IsRefLibSelected() != 0, rules);
  DialogToolRunner runner(*launcher_, progress_, command_->GetProduct(), GetSafeHwnd());
  const RulexOutcome outcome = RunRulexFlow(request, runner);
  if (ReportPreparationFailure(outcome, kRulexTempProjectFailed)) {
    return outcome.stage == RulexStage::TempProjectFailed ? 1 : 0;
  }
  if (outcome.stage == RulexStage::Cancelled) return 0;
  if (outcome.stage == RulexStage::LogProblem) return 1;
  CResultsDlg results(command_, launcher_, outcome.message, outcome.plan.logFile, 1, nullptr);
  results.DoModal();
  return 0;
}

void CRulexVerification::LaunchAdvancedChecks() {
  const std::string library = SingleSelectedLibrary(*browser_, kNoLibrarySelected);
  if (library.empty()) return;
  std::vector<std::string> cells;
  browser_->GetSelectedCellList(library, cells);
  const RulexRequest request =
      RulexRequestFor(*command_, MappedOrSelected(library), "", {library},
                      browser_->IsRefLibSelected() != 0, MakeRuleList(ruleSelection_));
  RulexOutcome outcome;
  outcome.stage = PrepareRulexWindow(request, cells, outcome.plan, outcome.problem);
  if (ReportPreparationFailure(outcome, kRulexReferenceTempProjectFailed)) return;
  launcher_->launchRulexUI(outcome.plan.options, command_->GetProduct());
}
