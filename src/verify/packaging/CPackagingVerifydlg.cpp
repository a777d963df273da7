#include "verify/packaging/CPackagingVerifydlg.h"

#include <filesystem>

#include "base/SignalText.h"
#include "base/qvdCommon.h"
#include "context/CKestraCmdContext.h"
#include "dialogs/CResultsDlg.h"
#include "dialogs/CResultsDlg1.h"
#include "dialogs/LibraryTree.h"
#include "dialogs/ToolRunProtocol.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CLHelpHandler.h"
#include "outside/CToolLauncher.h"
#include "verify/SelectedLibrary.h"
#include "verify/ToolRunObserver.h"
#include "verify/packaging/PackagingCommand.h"
#include "verify/packaging/PackagingReports.h"
#include "verify/packaging/ui_CPackagingVerifydlg.h"

namespace {

constexpr const char* kSelectLibrary = "Select a library/cell for verification";
constexpr const char* kOneCell = "Only one cell can be selected for verification";
constexpr const char* kLongReport =
    "WARNING: To generate this report, verification has be run on each part separately. This "
    "may take a long time!";

std::string NoPartsText(const std::string& library) {
  return "The library " + library + " has no parts to verify";
}

}  // namespace

// The tool-run messages of the dialog: progress into the progress dialog, the end to the
// dialog, which may chain the next part before the progress dialog ends.
class CPackagingVerifydlg::ToolSink final : public ToolRunSink {
 public:
  explicit ToolSink(CPackagingVerifydlg& dialog) : dialog_(dialog) {}
  void OnToolProgress(const std::string& detail) override {
    DeliverToolProgress(detail, dialog_.progress_);
  }
  void OnToolEnded() override { dialog_.OnToolEnded(); }

 private:
  CPackagingVerifydlg& dialog_;
};

CPackagingVerifydlg::CPackagingVerifydlg(CKestraCmdContext* command, CToolLauncher* launcher,
                                         QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CPackagingVerifydlg>()),
      command_(command),
      launcher_(launcher) {
  ui_->setupUi(this);
}

CPackagingVerifydlg::~CPackagingVerifydlg() { RestoreDirectory(savedDirectory_); }

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
  ToolSink sink(*this);
  if (ObserveToolMessage(*launcher_, message, wParam, sink)) return 1;
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
  if (validationType_ == ValidationType::ConsistencyCheck) {
    VerifyConsistency();
  } else {
    VerifyPackager();
  }
}

void CPackagingVerifydlg::VerifyPackager() {
  if (!TakeSelectedLibrary()) return;
  setup_ = PackagerSetup{};
  setup_.projectFile = command_->GetProject();
  setup_.projectDir = PackagingProjectDirectory(command_->GetProjectPath());
  setup_.library = library_;
  setup_.libraryPath = browser_->GetSelectedLibPath(library_);
  setup_.installRoot = qvdGetInstPath(nullptr);
  setup_.options = options_;
  nextPart_ = 0;
  sequence_ = false;

  const bool report = options_ & kPassFailReport;
  PackagingRunMode mode = PackagingRunMode::OnePart;
  if (cells_.empty()) {
    browser_->GetCellList(library_, cells_);
    mode = PackagingRunMode::Library;
  } else if (cells_.size() > 1) {
    mode = PackagingRunMode::SeveralParts;
  }
  if (report && cells_.empty()) {
    // A sequence over a library without parts has nothing to run: say so.
    AfxMessageBox(NoPartsText(library_));
    return;
  }
  // A library run names no part to the tool; every other run names each of its parts.
  const bool namesParts = report || mode != PackagingRunMode::Library;
  if (!MayRun(setup_.libraryPath, namesParts ? cells_ : std::vector<std::string>{})) return;
  for (const std::string& note : PreparePackagerVerify(setup_)) AfxMessageBox(note);
  unknownParts_.clear();
  if (report) ForgetPartReports(setup_, cells_);

  bool started = false;
  if (report) {
    sequence_ = true;
    started = StartNextPart();
  } else if (mode == PackagingRunMode::OnePart) {
    cell_ = cells_.front();
    started = StartPackagerRun(mode, {cell_});
  } else {
    cell_.clear();
    started = StartPackagerRun(mode, cells_);
  }
  if (started) RunProgressAndShowResults();
  sequence_ = false;
}

bool CPackagingVerifydlg::MayRun(const std::string& libraryPath,
                                 const std::vector<std::string>& cells) {
  std::string problem = VerifyAllRunningText(command_->GetProject());
  if (problem.empty()) problem = PackagingNameProblem(libraryPath, cells);
  if (problem.empty()) return true;
  AfxMessageBox(problem, MB_ICONERROR);
  return false;
}

bool CPackagingVerifydlg::StartNextPart() {
  cell_ = cells_[nextPart_++];
  return StartPackagerRun(PackagingRunMode::OnePart, {cell_});
}

void CPackagingVerifydlg::ShowStatusLine(const std::string& line) {
  progress_.SetStatusText(line);
  if (progress_.HasWindow()) progress_.SetDlgItemText(CProgressDlg::IDC_STATUS, line);
}

bool CPackagingVerifydlg::StartPackagerRun(PackagingRunMode mode,
                                           const std::vector<std::string>& cells) {
  run_ = ComposePackagerRun(setup_, mode, cells, setup_.projectDir + kPackagerScratch);
  ShowStatusLine(run_.statusLine);
  std::string why;
  if (!EnterPackagerScratch(run_, savedDirectory_, &why)) {
    savedDirectory_.clear();
    AfxMessageBox(ScratchFailureText(run_.scratch, why), MB_ICONERROR);
    return false;
  }
  lastArguments_ = run_.arguments;
  progress_.SetLauncher(launcher_);
  launcher_->launchLibKit(run_.tool, run_.arguments, command_->GetProduct(), GetSafeHwnd());
  return true;
}

void CPackagingVerifydlg::OnToolEnded() {
  RestoreDirectory(savedDirectory_);
  savedDirectory_.clear();
  if (sequence_) {
    // A part whose packager was killed keeps no reports: whatever it wrote is unsure.
    if (const int signal = launcher_->GetLastEndSignal(); signal != 0) {
      unknownParts_[cell_] = "ended by " + SignalText(signal);
    } else {
      CopyPartReports(run_.scratch, setup_.projectDir, PackagerPartFileName(setup_, cell_));
    }
    // Cancel stops the sequence after the part that was running.
    if (!progress_.IsCancelled() && nextPart_ < cells_.size() && StartNextPart()) return;
  }
  HandleToolEnded(1, progress_);
}

void CPackagingVerifydlg::RunProgressAndShowResults() {
  if (progress_.DoModal() != 1) return;
  if (options_ & kPassFailReport) {
    CResultsDlg1 results(command_, launcher_, browser_.get(), cells_, library_);
    results.SetUnknownParts(unknownParts_);
    results.DoModal();
    return;
  }
  const int signal = launcher_->GetLastEndSignal();
  const std::string message = signal != 0 ? PackagingEndedBySignalText("cellpack", signal)
                                          : PackagerVerdictMessage(PackagerVerdict(run_.scratch));
  CResultsDlg results(command_, launcher_, message, run_.scratch + "/" + kLogReport, 2);
  results.DoModal();
}

void CPackagingVerifydlg::VerifyConsistency() {
  if (!TakeSelectedLibrary()) return;
  if (cells_.size() > 1) {
    AfxMessageBox(kOneCell);
    return;
  }
  cell_ = cells_.empty() ? "" : cells_.front();
  if (!MayRun(browser_->GetSelectedLibPath(library_), cells_)) return;
  const PackagingRunMode mode =
      cell_.empty() ? PackagingRunMode::Library : PackagingRunMode::OnePart;
  ShowStatusLine(PackagingStatusLine(mode, library_, cell_));
  const std::string project = command_->GetProject();
  // A summary of an earlier run must not stand for this one if the tool writes none.
  std::error_code error;
  std::filesystem::remove(ConsistencyFile(project, ".sum"), error);
  lastArguments_ = ConsistencyArguments(project, command_->GetProjectPath() + "qvd.lib", library_,
                                        cell_, options_);
  progress_.SetLauncher(launcher_);
  launcher_->launchLibKit(kConsistencyTool, lastArguments_, command_->GetProduct(), GetSafeHwnd());
  if (progress_.DoModal() != 1) return;
  const int signal = launcher_->GetLastEndSignal();
  CResultsDlg results(
      command_, launcher_,
      signal != 0 ? PackagingEndedBySignalText("tes2tes", signal) : ConsistencySummary(project),
      ConsistencyFile(project, ".log"), 2);
  results.DoModal();
}
