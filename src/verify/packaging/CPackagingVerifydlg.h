// "Verify Tessel Libraries in Packaging Flow" (dialog 13007): the librarian picks one library
// and none, one or several of its cells in the browser, ticks options and runs the packaging
// tool ("cellpack") on them with progress and a verdict, or with the pass/fail report one run
// per part and the per-part verdict list. With Instantiation_Packaging_Validation_Type "1"
// it runs the consistency check ("tes2tes") instead.
//
// A thin adapter over RunPackaging: Verify fills a PackagingRequest from the selection and the
// check boxes, runs it through the dialog's ToolRunner and shows its problem or its results.
// Constructed by the command object with itself and its launcher (both borrowed for the
// dialog's life), run with DoModal, ended only by Close (code 8). Owns the browser, the
// image lists it shows, the embedded progress dialog and its tool runner. UI thread only; the
// launcher's WM_TOOL_PROGRESS and WM_TOOL_ENDED arrive through OnMessage and go to the
// runner, which starts each part of a sequence from the end message of the one before.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/CProgressDlg.h"
#include "framework/CDialog.h"
#include "framework/CImageList.h"
#include "verify/DialogToolRunner.h"
#include "verify/VerifyResult.h"
#include "verify/packaging/PackagingOptions.h"
#include "verify/packaging/PackagingRun.h"

class C5XBrowserUI;
class CKestraCmdContext;
class CToolLauncher;

namespace Ui {
class CPackagingVerifydlg;
}

class CPackagingVerifydlg final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13007,
    IDC_VERIFY = 1,
    IDC_CLOSE = 8,
    IDC_HELP = 9,
    IDC_USE_PTF = 13042,
    IDC_UPTO_BOARD = 13043,
    IDC_PASS_FAIL = 13044,
  };
  static constexpr unsigned kHelpTopic = 143365;

  CPackagingVerifydlg(CKestraCmdContext* command, CToolLauncher* launcher,
                      QWidget* parent = nullptr);
  ~CPackagingVerifydlg() override;

  std::uint16_t Options() const { return options_; }
  ValidationType GetValidationType() const { return validationType_; }
  const std::vector<std::string>& RunCells() const { return cells_; }
  // The argument text of the last tool run started.
  const std::string& LastArguments() const { return lastArguments_; }
  // The results of the last Verify that ran (none after a refusal or a cancel).
  const std::vector<VerifyResult>& Results() const { return results_; }
  C5XBrowserUI* Browser() const { return browser_.get(); }
  CProgressDlg& Progress() { return progress_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id) override;
  LRESULT OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
  void OnHelp() override;

 private:
  void OnPassFailReport();
  // The one selected library in library_, after telling the user why there is none.
  bool TakeSelectedLibrary();
  void Verify();
  void ShowResults(const PackagingPlan& plan);

  std::unique_ptr<Ui::CPackagingVerifydlg> ui_;
  CProgressDlg progress_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
  DialogToolRunner runner_;
  std::unique_ptr<C5XBrowserUI> browser_;
  CImageList bitmaps_;
  CImageList icons_;

  std::uint16_t options_ = 0;
  ValidationType validationType_ = ValidationType::Packager;
  std::string library_;
  std::vector<std::string> cells_;  // the cells of the current run
  std::string lastArguments_;
  std::vector<VerifyResult> results_;
};
