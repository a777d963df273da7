// "Verify Tessel Libraries in Verilog Simulation Flow" (dialog 13040): the librarian picks one
// library (and possibly cells) in the browser, the simulation views to check and where the
// Verilog models come from, and runs cellsim on the library with progress and a verdict.
//
// Constructed by the command object with itself and its launcher (both borrowed for the
// dialog's life), run with DoModal, ended only by Close (code 8); Verify keeps it open. Owns
// the browser, its image lists and the embedded progress dialog. UI thread only; the
// launcher's WM_TOOL_PROGRESS and WM_TOOL_ENDED arrive through OnMessage. Verify moves the
// process's current directory while it runs (cellsim works in the scratch directory) and puts
// it back before it returns.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dialogs/CProgressDlg.h"
#include "framework/CDialog.h"
#include "framework/CImageList.h"
#include "verify/VerifyResult.h"
#include "verify/simulation/CellsimOptions.h"

class C5XBrowserUI;
class CKestraCmdContext;
class CToolLauncher;

namespace Ui {
class CCellsimVerification;
}

class CCellsimVerification final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13040,
    IDC_DEFAULT_PATHS = 13055,
    IDC_SPECIFY_PATHS = 13056,
    IDC_OPTIONS_FILE_PATH = 13057,
    IDC_MODEL_DIR = 13058,
    IDC_UDP_DIR = 13059,
    IDC_OPTIONS_FILE = 13060,
    IDC_CHOOSE_MODEL_DIR = 13042,
    IDC_CHOOSE_UDP_DIR = 13043,
    IDC_CHOOSE_OPTIONS_FILE = 13044,
    IDC_WRAPPERS = 13061,
    IDC_MAPFILES = 13062,
    IDC_VIEWS = 13063,
    IDC_STOP_ON_NETLIST = 13064,
    IDC_CLOSE = 8,
    IDC_HELP = 9,
  };
  static constexpr unsigned kHelpTopic = 143369;

  CCellsimVerification(CKestraCmdContext* command, CToolLauncher* launcher,
                       QWidget* parent = nullptr);
  ~CCellsimVerification() override;

  // Verify: checks and absolutises the model, UDP and options-file paths, then runs.
  void ValidateSimulationPaths();
  // Takes the browser's selection, runs the flow (RunSimulation) with the progress dialog and
  // shows the verdict, or tells the user why there is none.
  void RunSimulationChecks();

  // The results of the last run that gave a verdict (as `kestra verify simulation` gives them).
  const std::vector<VerifyResult>& Results() const { return results_; }
  // The options text of the last run that was started.
  const std::string& OptionsText() const { return optionsText_; }
  C5XBrowserUI* Browser() const { return browser_.get(); }
  CProgressDlg& Progress() { return progress_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id) override;
  LRESULT OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
  void OnHelp() override;

 private:
  void OnPathSource(int id);
  void OnViewKind(int id);
  void OnStopOnNetlist();
  void EnablePathControls(bool directories, bool optionsFile);
  void ChooseDirectory(int editId);
  void ChooseOptionsFile();
  // The four edits into their fields.
  void ReadEdits();
  CellsimSettings Settings() const;

  std::unique_ptr<Ui::CCellsimVerification> ui_;
  std::string projectDir_;       // the command object's, made absolute when the dialog opened
  std::string verifyDirectory_;  // the current directory when Verify was pressed
  std::string optionsText_;
  std::vector<VerifyResult> results_;
  std::string libraryName_;
  std::vector<std::string> selectedCells_;
  CProgressDlg progress_;
  std::string views_;
  std::string optionsFile_;
  std::string udpDir_;
  std::string modelDir_;
  std::unique_ptr<C5XBrowserUI> browser_;
  CImageList bitmaps_;
  CImageList icons_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
};
