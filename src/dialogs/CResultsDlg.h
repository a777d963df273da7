// "Verification Results" with one message (template 13039): the outcome of a rules-checker,
// simulation or packaging run, and "View Log File", which opens the run's log in the
// project's text editor and closes the dialog.
//
// The caller constructs it, runs DoModal and destroys it; the result is not used. The
// command object and the launcher are borrowed for that time. UI thread only.
#pragma once

#include <memory>
#include <string>

#include "framework/CDialog.h"

class CKestraCmdContext;
class CToolLauncher;

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
  // The kind that captions the dialog "Molder"; the flows pass 1 or 2.
  static constexpr int kMolderKind = 4;

  CResultsDlg(CKestraCmdContext* command, CToolLauncher* launcher, std::string message,
              std::string logFile, int kind, QWidget* parent = nullptr);
  ~CResultsDlg() override;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id) override;

 private:
  void OnViewLogFile();

  std::unique_ptr<Ui::CResultsDlg> ui_;
  std::string message_;
  int kind_;
  std::string logFile_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
};
