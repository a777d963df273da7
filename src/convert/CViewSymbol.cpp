#include "convert/CViewSymbol.h"

#include "context/CKestraCmdContext.h"
#include "convert/SymbolViewer.h"
#include "convert/ui_CViewSymbol.h"
#include "framework/Prompter.h"
#include "libformat/ViewType.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CFilePath.h"
#include "outside/CLHelpHandler.h"
#include "outside/CToolLauncher.h"

CViewSymbol::CViewSymbol(CKestraCmdContext* command, CToolLauncher* launcher, QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CViewSymbol>()),
      command_(command),
      launcher_(launcher) {
  ui_->setupUi(this);
}

CViewSymbol::~CViewSymbol() = default;

bool CViewSymbol::OnInitDialog() {
  CDialog::OnInitDialog();
  const std::string projectDir = command_->GetProjectPath();
  browser_ = std::make_unique<C5XBrowserUI>(projectDir, command_->GetProjectName());
  if (CFilePath::IsDesignProject(projectDir + "refqvd.lib") == 0) {
    browser_->ShowLibType(GetSafeHwnd(), {20, 10, 135, 30}, {140, 10, 300, 30});
  }
  browser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kLibrary, {100, 40, 250, 140},
                             {20, 40, 80, 60}, kSymbolViews);
  browser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kCell, {100, 80, 250, 180},
                             {20, 80, 80, 100}, kSymbolViews);
  // Every view of the cell: the user picks the symbol view to open.
  browser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kView, {100, 120, 250, 220},
                             {20, 120, 80, 140}, kAllViews);
  return true;
}

bool CViewSymbol::OnCommand(int id) {
  switch (id) {
    case IDC_VIEW:
      OnView();
      return true;
    default:
      return OnCloseOrHelp(id, IDC_CLOSE, IDC_HELP, 1);
  }
}

void CViewSymbol::OnHelp() { CLHelpHandler::InvokeHelp(kHelpTopic); }

void CViewSymbol::OnView() {
  SymbolViewRequest request;
  request.projectFile = command_->GetProject();
  request.projectDir = command_->GetProjectPath();
  request.projectName = command_->GetProjectName();
  request.library = browser_->GetSelectedLib();
  request.cell = browser_->GetSelectedCell();
  request.view = browser_->GetSelectedView();
  request.referenceLibrary = browser_->IsRefLibSelected() != 0;
  request.standardExists = request.referenceLibrary && browser_->IsLibExisting("standard") != 0;
  const SymbolViewPlan plan = PrepareSymbolView(request);
  if (!plan.message.empty()) AfxMessageBox(plan.message);
  if (plan.Launch()) launcher_->launchTessel(plan.arguments, command_->GetProduct());
}
