#include "dialogs/CResultsDlg.h"

#include "context/CKestraCmdContext.h"
#include "dialogs/DialogResources.h"
#include "dialogs/TextEditorSetting.h"
#include "dialogs/ui_CResultsDlg.h"
#include "outside/CToolLauncher.h"

CResultsDlg::CResultsDlg(CKestraCmdContext* command, CToolLauncher* launcher, std::string message,
                         std::string logFile, int kind, QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CResultsDlg>()),
      message_(std::move(message)),
      kind_(kind),
      logFile_(std::move(logFile)),
      command_(command),
      launcher_(launcher) {
  InitDialogResources();
  ui_->setupUi(this);
}

CResultsDlg::~CResultsDlg() = default;

bool CResultsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_MESSAGE, message_);
  if (kind_ == kMolderKind) setWindowTitle(QStringLiteral("Molder"));
  return true;
}

bool CResultsDlg::OnCommand(int id) {
  if (id != IDC_VIEW_LOG) return false;
  OnViewLogFile();
  return true;
}

void CResultsDlg::OnViewLogFile() {
  if (command_ && launcher_) ViewFileInTextEditor(*command_, *launcher_, logFile_);
  OnOK();
}
