// "Verification Results" with one message (template 13039): the outcome of a rules-checker,
// simulation or packaging run, and "View Log File", which opens the run's log in the
// project's text editor and closes the dialog.
//
// The caller constructs it from the run's VerifyResult (its message and log are copied), runs
// DoModal and destroys it; the modal result is not used. The command object and the launcher
// are borrowed for that time. UI thread only.
#pragma once

#include <memory>
#include <string>

#include "framework/CDialog.h"

class CKestraCmdContext;
class CToolLauncher;
struct VerifyResult;

namespace Ui {
class CResultsDlg;
}

class CResultsDlg final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13039,
    IDC_MESSAGE = 13051,
    IDC_VIEW_LOG = 13053,
  };
  // The flow whose results caption the dialog "Molder"; every other flow keeps the
  // template's caption.
  static constexpr const char* kMolderFlow = "molder";

  CResultsDlg(CKestraCmdContext* command, CToolLauncher* launcher, const VerifyResult& result,
              QWidget* parent = nullptr);
  ~CResultsDlg() override;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id) override;

 private:
  void OnViewLogFile();

  std::unique_ptr<Ui::CResultsDlg> ui_;
  std::string message_;
  bool molder_;
  std::string logFile_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
};
