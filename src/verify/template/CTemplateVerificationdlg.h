// "Verify Tessel Libraries with Template" (dialog 13008): the librarian ticks one part in the
// browser tree (or a library of one part), chooses a template file and the aspects to check
// (symbol information, pin loads, property values) and gets the differences as a report.
//
// Constructed by the command object with itself and its launcher (both borrowed for the
// dialog's life; the launcher is not used), run with DoModal, ended only by Close (code 8):
// Verify can be used again. Owns the browser and the image lists of its tree. Verify fills a
// TemplateRequest and runs it (RunTemplate, shared with the headless verb); a failure of the
// template engine is shown and the dialog stays usable. UI thread only.
#pragma once

#include <memory>
#include <string>

#include "framework/CDialog.h"
#include "framework/CImageList.h"
#include "verify/VerifyResult.h"

class C5XBrowserUI;
class CKestraCmdContext;
class CToolLauncher;

namespace Ui {
class CTemplateVerificationdlg;
}

class CTemplateVerificationdlg final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13008,
    IDC_VERIFY = 1,
    IDC_CLOSE = 8,
    IDC_HELP = 9,
    IDC_SYMBOL_INFO = 13037,
    IDC_PIN_LOADS = 13038,
    IDC_PROPERTY_VALUES = 13039,
    IDC_TEMPLATE_PATH = 13040,
    IDC_BROWSE_TEMPLATE = 13041,
  };
  // Check aspects (bits of AppPartCheck::CheckType).
  enum : unsigned { kPropertyValues = 1, kPinLoads = 2, kSymbolInformation = 4, kAllAspects = 7 };
  static constexpr unsigned kHelpTopic = 143366;

  CTemplateVerificationdlg(CKestraCmdContext* command, CToolLauncher* launcher,
                           QWidget* parent = nullptr);
  ~CTemplateVerificationdlg() override;

  // The aspects of the last Verify (7 until the first).
  unsigned CheckType() const { return checkType_; }
  // The library list file, library and cell of the last check started ("" before one).
  const std::string& LibraryListFile() const { return libraryList_; }
  const std::string& CheckedLibrary() const { return library_; }
  const std::string& CheckedCell() const { return cell_; }
  // The results of the last check (none before one).
  const std::vector<VerifyResult>& Results() const { return results_; }
  C5XBrowserUI* Browser() const { return browser_.get(); }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id) override;
  void OnHelp() override;

 private:
  void ChooseTemplate();
  // The one library and cell to check, after telling the user why there is none.
  bool TakeSelectedPart(std::string& library, std::string& cell);
  void RunCheck(const std::string& templatePath);

  std::unique_ptr<Ui::CTemplateVerificationdlg> ui_;
  CKestraCmdContext* command_;
  [[maybe_unused]] CToolLauncher* launcher_;
  std::unique_ptr<C5XBrowserUI> browser_;
  CImageList bitmaps_;
  CImageList icons_;
  unsigned checkType_ = kAllAspects;
  std::string libraryList_;
  std::string library_;
  std::string cell_;
  std::vector<VerifyResult> results_;
};
