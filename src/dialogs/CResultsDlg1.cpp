#include "dialogs/CResultsDlg1.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "context/CKestraCmdContext.h"
#include "dialogs/DialogResources.h"
#include "dialogs/PartVerdict.h"
#include "dialogs/TextEditorSetting.h"
#include "dialogs/ui_CResultsDlg1.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CToolLauncher.h"
#include "verify/VerifyResult.h"

namespace {
// The list control's text buffer of the system: longer names are cut.
constexpr qsizetype kMaxPartNameChars = 127;
}  // namespace

CResultsDlg1::CResultsDlg1(CKestraCmdContext* command, CToolLauncher* launcher,
                           C5XBrowserUI* browser, const std::vector<VerifyResult>& results,
                           std::string library, QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CResultsDlg1>()),
      results_(results),
      library_(std::move(library)),
      browser_(browser),
      command_(command),
      launcher_(launcher) {
  InitDialogResources();
  ui_->setupUi(this);
}

CResultsDlg1::~CResultsDlg1() = default;

std::string CResultsDlg1::GetPartFileName(const std::string& cell) {
  return PartFileName(browser_ ? browser_->GetSelectedLibPath(library_) : std::string(), cell);
}

int CResultsDlg1::ReadPartVerdict(const std::string& statusFile, const std::string& logFile) {
  const PartVerdict verdict = ReadPartVerdictFiles(statusFile, logFile);
  withWarnings_ = verdict.withWarnings ? 1 : 0;
  return verdict.code;
}

std::string CResultsDlg1::PartFilePath(const std::string& partFileName,
                                       const char* extension) const {
  const std::string projectPath = command_ ? command_->GetProjectPath() : std::string();
  return projectPath + "temp/" + partFileName + extension;
}

int CResultsDlg1::GetPartVerdict(const std::string& cell) {
  const std::string part = GetPartFileName(cell);
  return ReadPartVerdict(PartFilePath(part, ".stat"), PartFilePath(part, ".log"));
}

bool CResultsDlg1::OnInitDialog() {
  CDialog::OnInitDialog();
  FillPartList();
  return true;
}

void CResultsDlg1::FillPartList() {
  QTreeWidget* list = ui_->partList;
  list->clear();
  list->setColumnCount(2);
  list->setHeaderLabels({QStringLiteral("Part"), QStringLiteral("Status")});
  const int half = list->width() / 2;
  list->setColumnWidth(0, half);
  list->setColumnWidth(1, half);
  list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  passed_ = 0;
  failed_ = 0;
  for (const VerifyResult& result : results_) {
    if (result.verdict == Verdict::Failed) {
      ++failed_;
    } else if (result.verdict != Verdict::Unknown) {
      ++passed_;
    }
    list->addTopLevelItem(
        new QTreeWidgetItem({QString::fromStdString(result.cell), StatusText(result)}));
  }
  list->show();
  list->setEnabled(true);
  if (GetDlgItem(IDC_SUMMARY) && GetDlgItem(IDC_SELECT_HINT)) {
    SetDlgItemText(IDC_SUMMARY, std::to_string(passed_) + " parts passed, " +
                                    std::to_string(failed_) + " parts failed.");
    SetDlgItemText(IDC_SELECT_HINT, "Select a part and see log file for details :");
  }
  withWarnings_ = 0;
}

QString CResultsDlg1::StatusText(const VerifyResult& result) const {
  switch (result.verdict) {
    case Verdict::Passed:
      return QStringLiteral("Passed");
    case Verdict::PassedWithWarnings:
      return QStringLiteral("Passed (With Warnings)");
    case Verdict::Failed:
      return QStringLiteral("Failed");
    case Verdict::Unknown:
      break;
  }
  const auto cause = unknown_.find(result.cell);
  if (cause == unknown_.end()) return QStringLiteral("Unknown");
  return QStringLiteral("Unknown (") + QString::fromStdString(cause->second) + QStringLiteral(")");
}

bool CResultsDlg1::OnCommand(int id) {
  if (id != IDC_VIEW_LOG) return false;
  OnViewLogFile();
  return true;
}

void CResultsDlg1::OnViewLogFile() {
  const QList<QTreeWidgetItem*> selected = ui_->partList->selectedItems();
  if (selected.isEmpty()) {
    AfxMessageBox("Select a part first to view its log file", MB_OK);
    return;
  }
  // The log the run read the part's verdict from; a part the run has none for is looked up
  // where the packager leaves it.
  const int row = ui_->partList->indexOfTopLevelItem(selected.front());
  std::string log = row >= 0 && static_cast<std::size_t>(row) < results_.size()
                        ? results_[static_cast<std::size_t>(row)].log
                        : std::string();
  if (log.empty()) {
    const QString name = selected.front()->text(0).left(kMaxPartNameChars);
    if (name.isEmpty()) return;
    log = PartFilePath(GetPartFileName(name.toStdString()), ".log");
  }
  if (command_ && launcher_) ViewFileInTextEditor(*command_, *launcher_, log);
}
