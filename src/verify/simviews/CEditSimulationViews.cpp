#include "verify/simviews/CEditSimulationViews.h"

#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "libformat/ViewType.h"
#include "outside/C5XBrowserData.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CLHelpHandler.h"
#include "outside/CToolLauncher.h"
#include "verify/simviews/ui_CEditSimulationViews.h"

struct CEditSimulationViews::Family {
  int family;
  int newWrapper;
  int newMap;
  int openExisting;
  int viewType;
  bool verilog;
};

namespace {

constexpr CEditSimulationViews::Family kVerilog{CEditSimulationViews::IDC_VERILOG,
                                                CEditSimulationViews::IDC_VERILOG_NEW_WRAPPER,
                                                CEditSimulationViews::IDC_VERILOG_NEW_MAP,
                                                CEditSimulationViews::IDC_VERILOG_OPEN,
                                                kVerilogViews,
                                                true};
constexpr CEditSimulationViews::Family kVhdl{CEditSimulationViews::IDC_VHDL,
                                             CEditSimulationViews::IDC_VHDL_NEW_WRAPPER,
                                             CEditSimulationViews::IDC_VHDL_NEW_MAP,
                                             CEditSimulationViews::IDC_VHDL_OPEN,
                                             kVhdlViews,
                                             false};

}  // namespace

CEditSimulationViews::CEditSimulationViews(CKestraCmdContext* command, CToolLauncher* launcher,
                                           QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CEditSimulationViews>()),
      command_(command),
      launcher_(launcher) {
  ui_->setupUi(this);
}

CEditSimulationViews::~CEditSimulationViews() = default;

bool CEditSimulationViews::OnInitDialog() {
  CDialog::OnInitDialog();
  const std::string projectDir = command_->GetProjectPath();
  const std::string projectName = command_->GetProjectName();
  mainBrowser_ = std::make_unique<C5XBrowserUI>(projectDir, projectName);
  mainBrowser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kLibrary, {100, 40, 250, 140},
                                 {20, 40, 80, 60}, kSymbolViews);
  mainBrowser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kCell, {100, 80, 250, 180},
                                 {20, 80, 80, 100}, kSymbolViews);
  mainBrowser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kView, {240, 253, 375, 335},
                                 {0, 0, 0, 0}, kVerilogViews);
  verilogViewsActive_ = true;

  // The second browser shares the main one's library trees (each library is read once) and
  // lists the VHDL views of the main browser's library and cell.
  secondBrowser_ = std::make_unique<C5XBrowserUI>(projectDir, projectName);
  secondBrowser_->SetSelectedLib(mainBrowser_->GetSelectedLib());
  secondBrowser_->SetSelectedCell(mainBrowser_->GetSelectedCell());
  C5XBrowserData* mainData = mainBrowser_->GetBrowserData();
  C5XBrowserData* secondData = secondBrowser_->GetBrowserData();
  secondData->InitialiseBuildTree(mainData->GetBuildTree());
  secondData->InitialiseRefTree(mainData->GetRefTree());
  secondBrowser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kView, {240, 335, 375, 425},
                                   {0, 0, 0, 0}, kVhdlViews);
  secondBrowser_->CopyViewChooserSetting(*mainBrowser_);
  // The second browser's chooser is never the active one: it waits disabled until its family's
  // "open existing" exchanges it into the main browser.
  secondBrowser_->EnableBrowserCombo(0, C5XBrowserUI::kView);

  CheckDlgButton(IDC_VERILOG, true);
  CheckDlgButton(IDC_VERILOG_NEW_WRAPPER, true);
  CheckDlgButton(IDC_VERILOG_OPEN, false);
  CheckDlgButton(IDC_VERILOG_NEW_MAP, false);
  mainBrowser_->EnableBrowserCombo(0, C5XBrowserUI::kView);
  ClearFamily(kVhdl);
  return true;
}

void CEditSimulationViews::ClearFamily(const Family& family) {
  for (int id : {family.family, family.newWrapper, family.newMap, family.openExisting})
    CheckDlgButton(id, false);
  for (int id : {family.newWrapper, family.newMap, family.openExisting}) EnableDlgItem(id, false);
  mainBrowser_->EnableBrowserCombo(0, C5XBrowserUI::kView);
}

void CEditSimulationViews::CheckOnly(const Family& family, int id) {
  for (int action : {family.newWrapper, family.newMap, family.openExisting})
    CheckDlgButton(action, action == id);
}

void CEditSimulationViews::ChooseFamily(const Family& family, const Family& other) {
  ClearFamily(other);
  CheckDlgButton(family.family, true);
  for (int id : {family.newWrapper, family.newMap, family.openExisting}) EnableDlgItem(id, true);
  CheckOnly(family, family.newWrapper);
  mainBrowser_->EnableBrowserCombo(0, C5XBrowserUI::kView);
}

void CEditSimulationViews::ChooseCreate(const Family& family, int id) {
  // The actions of a family exclude each other, as radio buttons of one group do.
  CheckOnly(family, id);
  mainBrowser_->EnableBrowserCombo(0, C5XBrowserUI::kView);
}

void CEditSimulationViews::ChooseOpenExisting(const Family& family, const Family& other) {
  ClearFamily(other);
  CheckOnly(family, family.openExisting);
  if (verilogViewsActive_ != family.verilog) {
    // Each chooser keeps its family's view type; the main browser's lists the active family.
    mainBrowser_->ExchangeViewChooser(*secondBrowser_);
    mainBrowser_->SetViewFilter(family.viewType);
    secondBrowser_->SetViewFilter(other.viewType);
    mainBrowser_->FillCombo(C5XBrowserUI::kView);
    secondBrowser_->FillCombo(C5XBrowserUI::kView);
    verilogViewsActive_ = family.verilog;
  }
  mainBrowser_->EnableBrowserCombo(1, C5XBrowserUI::kView);
}

bool CEditSimulationViews::OnCommand(int id) {
  switch (id) {
    case IDC_VERILOG:
      ChooseFamily(kVerilog, kVhdl);
      return true;
    case IDC_VHDL:
      ChooseFamily(kVhdl, kVerilog);
      return true;
    case IDC_VERILOG_OPEN:
      ChooseOpenExisting(kVerilog, kVhdl);
      return true;
    case IDC_VHDL_OPEN:
      ChooseOpenExisting(kVhdl, kVerilog);
      return true;
    case IDC_VERILOG_NEW_WRAPPER:
    case IDC_VERILOG_NEW_MAP:
      ChooseCreate(kVerilog, id);
      return true;
    case IDC_VHDL_NEW_WRAPPER:
    case IDC_VHDL_NEW_MAP:
      ChooseCreate(kVhdl, id);
      return true;
    default:
      return OnCloseOrHelp(id, IDC_CLOSE, IDC_HELP, IDC_CLOSE);
  }
}

void CEditSimulationViews::OnHelp() { CLHelpHandler::InvokeHelp(kHelpTopic); }

std::optional<SimViewsAction> CEditSimulationViews::CheckedAction() const {
  if (IsDlgButtonChecked(IDC_VERILOG_NEW_MAP)) return SimViewsAction::NewVerilogMapFile;
  if (IsDlgButtonChecked(IDC_VERILOG_NEW_WRAPPER)) return SimViewsAction::NewVerilogWrapper;
  if (IsDlgButtonChecked(IDC_VERILOG_OPEN)) return SimViewsAction::OpenVerilog;
  if (IsDlgButtonChecked(IDC_VHDL_NEW_MAP)) return SimViewsAction::NewVhdlMapFile;
  if (IsDlgButtonChecked(IDC_VHDL_NEW_WRAPPER)) return SimViewsAction::NewVhdlWrapper;
  if (IsDlgButtonChecked(IDC_VHDL_OPEN)) return SimViewsAction::OpenVhdl;
  return std::nullopt;
}

void CEditSimulationViews::OnOK() {
  // The dialog stays open for further actions.
  SimViewsRequest request;
  request.projectFile = command_->GetProject();
  request.library = mainBrowser_->GetSelectedLib();
  request.cell = mainBrowser_->GetSelectedCell();
  const std::optional<SimViewsAction> action = CheckedAction();
  if (action) request.action = *action;
  if (action == SimViewsAction::OpenVerilog || action == SimViewsAction::OpenVhdl)
    request.view = mainBrowser_->GetSelectedView();
  if (const std::string missing = SimViewsMissingText(request); !missing.empty()) {
    AfxMessageBox(missing);
    return;
  }
  if (!action) return;  // every path through the buttons leaves one action checked
  launcher_->launchMld(SimViewsArguments(request), command_->GetProduct());
}
