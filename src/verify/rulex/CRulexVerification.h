// "Verify Tessel Libraries using Rules Checker" (dialog 13006): the librarian picks one
// library (and possibly cells) in the browser and runs the five minimal checks with progress
// and verdict, or starts the rules checker's own window on the selection.
//
// A thin adapter over RunRulex: Verify fills a RulexRequest from the selection and the rule
// boxes, runs it through the dialog's ToolRunner and shows its problem or its result.
//
// Constructed by the command object with itself and its launcher (both borrowed for the
// dialog's life), run with DoModal, ended only by Close (code 8). Owns the browser, the
// image lists it shows, the embedded progress dialog and the tool runner. UI thread only; the
// launcher's WM_TOOL_PROGRESS and WM_TOOL_ENDED arrive through OnMessage.
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

class C5XBrowserUI;
class CKestraCmdContext;
class CToolLauncher;
struct RulexPlan;

namespace Ui {
class CRulexVerification;
}

class CRulexVerification final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13006,
    IDC_MINIMAL = 13000,
    IDC_ADVANCED = 13001,
    IDC_LAUNCH = 13030,
    IDC_CLOSE = 8,
    IDC_HELP = 9,
  };
  static constexpr unsigned kHelpTopic = 143361;

  CRulexVerification(CKestraCmdContext* command, CToolLauncher* launcher,
                     QWidget* parent = nullptr);
  ~CRulexVerification() override;

  // The five minimal checks on library (as selected): 1 when the run failed before a verdict.
  int RunMinimalChecks(const std::string& library, const std::string& cell,
                       const std::vector<int>& rules);
  void LaunchAdvancedChecks();

  std::uint16_t RuleSelection() const { return ruleSelection_; }
  C5XBrowserUI* Browser() const { return browser_.get(); }
  CProgressDlg& Progress() { return progress_; }
  // The result of the last minimal run, as `kestra verify rulex` gives it (none when cancelled).
  const std::vector<VerifyResult>& Results() const { return results_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id) override;
  LRESULT OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
  void OnHelp() override;

 private:
  void OnMinimalChecks();
  void OnAdvancedChecks();
  void EnableRuleBoxes(bool enable);
  // Tells the user about a run that could not be prepared; true when it said something.
  bool ReportPreparationFailure(const RulexPlan& plan, const char* tempProjectMessage);

  std::unique_ptr<Ui::CRulexVerification> ui_;
  std::uint16_t ruleSelection_ = 31;
  CProgressDlg progress_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
  std::unique_ptr<C5XBrowserUI> browser_;
  CImageList bitmaps_;
  CImageList icons_;
  DialogToolRunner runner_;
  std::vector<VerifyResult> results_;
};
