#include "verify/simulation/CCellsimVerification.h"

#include "base/qvdCommon.h"
#include "context/CKestraCmdContext.h"
#include "dialogs/CResultsDlg.h"
#include "dialogs/LibraryTree.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CDirOpenDlg.h"
#include "outside/CLHelpHandler.h"
#include "outside/CToolLauncher.h"
#include "verify/DialogToolRunner.h"
#include "verify/ProgressDialogSink.h"
#include "verify/SelectedLibrary.h"
#include "verify/WorkingDirectory.h"
#include "verify/simulation/CellsimPaths.h"
#include "verify/simulation/CellsimTexts.h"
#include "verify/simulation/SimulationRun.h"
#include "verify/simulation/ui_CCellsimVerification.h"

namespace {

constexpr int kPathSources[] = {CCellsimVerification::IDC_DEFAULT_PATHS,
                                CCellsimVerification::IDC_SPECIFY_PATHS,
                                CCellsimVerification::IDC_OPTIONS_FILE_PATH};
constexpr int kDirectoryControls[] = {
    CCellsimVerification::IDC_MODEL_DIR, CCellsimVerification::IDC_UDP_DIR,
    CCellsimVerification::IDC_CHOOSE_MODEL_DIR, CCellsimVerification::IDC_CHOOSE_UDP_DIR};
constexpr int kOptionsFileControls[] = {CCellsimVerification::IDC_OPTIONS_FILE,
                                        CCellsimVerification::IDC_CHOOSE_OPTIONS_FILE};

}  // namespace

CCellsimVerification::CCellsimVerification(CKestraCmdContext* command, CToolLauncher* launcher,
                                           QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CCellsimVerification>()),
      command_(command),
      launcher_(launcher) {
  ui_->setupUi(this);
}

CCellsimVerification::~CCellsimVerification() = default;

bool CCellsimVerification::OnInitDialog() {
  CDialog::OnInitDialog();
  projectDir_ = CellsimAbsoluteProjectDirectory(command_->GetProjectPath());
  browser_ = ShowLibraryTree(*this, *command_, bitmaps_, icons_, 1, 2);

  CheckDlgButton(IDC_WRAPPERS, true);
  CheckDlgButton(IDC_DEFAULT_PATHS, true);
  EnablePathControls(false, false);
  CheckDlgButton(IDC_STOP_ON_NETLIST, false);
  return true;
}

bool CCellsimVerification::OnCommand(int id) {
  switch (id) {
    case IDC_DEFAULT_PATHS:
    case IDC_SPECIFY_PATHS:
    case IDC_OPTIONS_FILE_PATH:
      OnPathSource(id);
      return true;
    case IDC_WRAPPERS:
    case IDC_MAPFILES:
      OnViewKind(id);
      return true;
    case IDC_STOP_ON_NETLIST:
      OnStopOnNetlist();
      return true;
    case IDC_CHOOSE_MODEL_DIR:
      ChooseDirectory(IDC_MODEL_DIR);
      return true;
    case IDC_CHOOSE_UDP_DIR:
      ChooseDirectory(IDC_UDP_DIR);
      return true;
    case IDC_CHOOSE_OPTIONS_FILE:
      ChooseOptionsFile();
      return true;
    default:
      return OnCloseOrHelp(id, IDC_CLOSE, IDC_HELP, IDC_CLOSE);
  }
}

void CCellsimVerification::OnHelp() { CLHelpHandler::InvokeHelp(kHelpTopic); }

LRESULT CCellsimVerification::OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  ProgressDialogSink sink(progress_);
  if (ObserveToolMessage(*launcher_, message, wParam, sink)) return 1;
  return CDialog::OnMessage(message, wParam, lParam);
}

void CCellsimVerification::EnablePathControls(bool directories, bool optionsFile) {
  for (int id : kDirectoryControls) EnableDlgItem(id, directories);
  for (int id : kOptionsFileControls) EnableDlgItem(id, optionsFile);
}

void CCellsimVerification::OnPathSource(int id) {
  // The three radio buttons form one set: choosing one clears the others.
  for (int source : kPathSources) CheckDlgButton(source, source == id);
  EnablePathControls(id == IDC_SPECIFY_PATHS, id == IDC_OPTIONS_FILE_PATH);
}

void CCellsimVerification::OnViewKind(int id) {
  CheckDlgButton(IDC_WRAPPERS, id == IDC_WRAPPERS);
  CheckDlgButton(IDC_MAPFILES, id == IDC_MAPFILES);
}

void CCellsimVerification::OnStopOnNetlist() {
  const bool stop = IsDlgButtonChecked(IDC_STOP_ON_NETLIST);
  for (int source : kPathSources) {
    if (stop) CheckDlgButton(source, false);
    EnableDlgItem(source, !stop);
  }
  if (!stop) CheckDlgButton(IDC_DEFAULT_PATHS, true);
  EnablePathControls(false, false);
}

void CCellsimVerification::ChooseDirectory(int editId) {
  const CurrentDirectoryGuard back;
  CDirOpenDlg chooser(nullptr);
  const std::string folder = chooser.DoModal() == 1 ? chooser.GetDirPathName() : "";
  SetDlgItemText(editId, folder);
  GotoDlgCtrl(editId);
}

void CCellsimVerification::ChooseOptionsFile() {
  FileRequest request;
  request.title = "Select opt file";
  request.filter = "Opt Files (*)";
  if (const auto file = CurrentPrompter().OpenFile(request)) {
    SetDlgItemText(IDC_OPTIONS_FILE, *file);
  }
}

void CCellsimVerification::ReadEdits() {
  views_ = GetDlgItemText(IDC_VIEWS);
  optionsFile_ = GetDlgItemText(IDC_OPTIONS_FILE);
  udpDir_ = GetDlgItemText(IDC_UDP_DIR);
  modelDir_ = GetDlgItemText(IDC_MODEL_DIR);
}

CellsimSettings CCellsimVerification::Settings() const {
  CellsimSettings settings;
  settings.viewKind = IsDlgButtonChecked(IDC_MAPFILES)   ? CellsimViewKind::Map
                      : IsDlgButtonChecked(IDC_WRAPPERS) ? CellsimViewKind::Wrapper
                                                         : CellsimViewKind::None;
  settings.pathSource = IsDlgButtonChecked(IDC_OPTIONS_FILE_PATH) ? CellsimPathSource::OptionsFile
                        : IsDlgButtonChecked(IDC_DEFAULT_PATHS)   ? CellsimPathSource::Default
                        : IsDlgButtonChecked(IDC_SPECIFY_PATHS)   ? CellsimPathSource::Specify
                                                                  : CellsimPathSource::None;
  settings.stopOnNetlist = IsDlgButtonChecked(IDC_STOP_ON_NETLIST);
  settings.views = views_;
  settings.modelDir = modelDir_;
  settings.udpDir = udpDir_;
  settings.optionsFile = optionsFile_;
  return settings;
}

void CCellsimVerification::OnOK() { ValidateSimulationPaths(); }

void CCellsimVerification::ValidateSimulationPaths() {
  // However Verify ends, the process is back in the directory it started from.
  const CurrentDirectoryGuard back;
  verifyDirectory_ = back.Saved();
  EnterDirectory(projectDir_);
  ReadEdits();
  CellsimSettings settings = Settings();
  if (const std::string problem = ResolveCellsimPaths(projectDir_, settings); !problem.empty()) {
    AfxMessageBox(problem);
    return;
  }
  modelDir_ = settings.modelDir;
  udpDir_ = settings.udpDir;
  optionsFile_ = settings.optionsFile;
  RunSimulationChecks();
}

void CCellsimVerification::RunSimulationChecks() {
  libraryName_ = SingleSelectedLibrary(*browser_, kCellsimNoLibrary);
  if (libraryName_.empty()) return;
  selectedCells_.clear();
  browser_->GetSelectedCellList(libraryName_, selectedCells_);
  SimulationRequest request;
  request.projectDir = projectDir_;
  request.library = LocateCellsimLibrary(libraryName_, browser_->GetSelectedLibPath(libraryName_));
  request.cells = selectedCells_;
  request.settings = Settings();
  request.installRoot = qvdGetInstPath(nullptr);
  DialogToolRunner runner(*launcher_, progress_, command_->GetProduct(), GetSafeHwnd());
  SimulationPlan plan;
  std::vector<VerifyResult> results = RunSimulation(request, runner, plan);
  switch (plan.stage) {
    case SimulationStage::Refused:
      AfxMessageBox(plan.problem);
      return;
    case SimulationStage::ScratchFailed:
      AfxMessageBox(plan.problem, MB_ICONERROR);
      return;
    case SimulationStage::Cancelled:
      optionsText_ = plan.start.arguments;
      return;  // no verdict
    case SimulationStage::Verdict:
      break;
  }
  optionsText_ = plan.start.arguments;
  results_ = std::move(results);
  // The results dialog reads the project file, which may be named relative to where Verify
  // started.
  if (!verifyDirectory_.empty()) EnterDirectory(verifyDirectory_);
  CResultsDlg dialog(command_, launcher_, results_.front(), nullptr);
  dialog.DoModal();
}
