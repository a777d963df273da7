#include "dialogs/CResultsDlg.h"

#include "context/CKestraCmdContext.h"
#include "dialogs/DialogResources.h"
#include "dialogs/TextEditorSetting.h"
#include "dialogs/ui_CResultsDlg.h"
#include "outside/CToolLauncher.h"
#include "verify/VerifyResult.h"

CResultsDlg::CResultsDlg(CKestraCmdContext* command, CToolLauncher* launcher,
                         const VerifyResult& result, QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CResultsDlg>()),
      message_(result.message),
      molder_(result.flow == kMolderFlow),
      logFile_(result.log),
      command_(command),
      launcher_(launcher) {
  InitDialogResources();
  ui_->setupUi(this);
}

CResultsDlg::~CResultsDlg() = default;

bool CResultsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_MESSAGE, message_);
  if (molder_) setWindowTitle(QStringLiteral("Molder"));
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
