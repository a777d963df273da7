#include "verify/rulex/CRulexVerification.h"

#include "context/CKestraCmdContext.h"
#include "dialogs/CResultsDlg.h"
#include "dialogs/LibraryTree.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CLHelpHandler.h"
#include "outside/CToolLauncher.h"
#include "verify/SelectedLibrary.h"
#include "verify/ToolRunObserver.h"
#include "verify/rulex/RulexRequestFor.h"
#include "verify/rulex/RulexRules.h"
#include "verify/rulex/RulexTexts.h"
#include "verify/rulex/ui_CRulexVerification.h"

CRulexVerification::CRulexVerification(CKestraCmdContext* command, CToolLauncher* launcher,
                                       QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CRulexVerification>()),
      command_(command),
      launcher_(launcher),
      runner_(*launcher, progress_, command->GetProduct(), GetSafeHwnd()) {
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
  if (ObserveToolMessage(*launcher_, message, wParam, runner_)) return 1;
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
    AfxMessageBox(kRulexNoRulesSelected);
    return;
  }
  const std::string library = SingleSelectedLibrary(*browser_, kRulexNoLibrarySelected);
  if (library.empty()) return;
  std::vector<std::string> cells;
  browser_->GetSelectedCellList(library, cells);
  const std::string cell = cells.size() == 1 ? cells.front() : "";
  if (RunMinimalChecks(library, cell, rules) == 1) {
    AfxMessageBox(kRulexLogError, MB_ICONERROR);
  }
}

bool CRulexVerification::ReportPreparationFailure(const RulexPlan& plan,
                                                  const char* tempProjectMessage) {
  if (plan.stage == RulexStage::LogProblem) return false;
  const std::string text = RulexFailureText(plan, tempProjectMessage);
  if (text.empty()) return false;
  // Only the temporary project's message is a plain one; the others carry the error icon.
  AfxMessageBox(text, plan.stage == RulexStage::TempProjectFailed ? MB_OK : MB_ICONERROR);
  return true;
}

int CRulexVerification::RunMinimalChecks(const std::string& library, const std::string& cell,
                                         const std::vector<int>& rules) {
  std::vector<std::string> selected;
  browser_->GetSelectedLibList(selected);
  const RulexRequest request =
      RulexRequestFor(*command_, library, cell, selected, browser_->IsRefLibSelected() != 0, rules);
  RulexPlan plan;
  results_ = RunRulex(request, runner_, plan);
  if (ReportPreparationFailure(plan, kRulexTempProjectFailed)) {
    return plan.stage == RulexStage::TempProjectFailed ? 1 : 0;
  }
  if (plan.stage == RulexStage::Cancelled) return 0;
  if (plan.stage == RulexStage::LogProblem) return 1;
  CResultsDlg dialog(command_, launcher_, results_.front(), nullptr);
  dialog.DoModal();
  return 0;
}

void CRulexVerification::LaunchAdvancedChecks() {
  const std::string library = SingleSelectedLibrary(*browser_, kRulexNoLibrarySelected);
  if (library.empty()) return;
  std::vector<std::string> cells;
  browser_->GetSelectedCellList(library, cells);
  const RulexRequest request =
      RulexRequestFor(*command_, library, "", {library}, browser_->IsRefLibSelected() != 0,
                      MakeRuleList(ruleSelection_));
  RulexPlan plan;
  PrepareRulexWindow(request, cells, plan);
  if (ReportPreparationFailure(plan, kRulexReferenceTempProjectFailed)) return;
  launcher_->launchRulexUI(plan.options, command_->GetProduct());
}
