#include "verify/template/CTemplateVerificationdlg.h"

#include <filesystem>
#include <vector>

#include "context/CKestraCmdContext.h"
#include "dialogs/LibraryTree.h"
#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CLHelpHandler.h"
#include "outside/Tamsin.h"
#include "verify/template/TemplateEngineCall.h"
#include "verify/template/TemplateRun.h"
#include "verify/template/TemplateTexts.h"
#include "verify/template/ui_CTemplateVerificationdlg.h"

namespace {

constexpr const char* kSelectCell = "Select a cell for verification";
constexpr const char* kOneLibrary = "Only one library can be selected for verification";
constexpr const char* kOneCell = "Only one cell can be selected for verification";
constexpr const char* kNoTemplate = "Specify the template file";
constexpr const char* kNoAspect = "No option selected for template verification";

}  // namespace

CTemplateVerificationdlg::CTemplateVerificationdlg(CKestraCmdContext* command,
                                                   CToolLauncher* launcher, QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CTemplateVerificationdlg>()),
      command_(command),
      launcher_(launcher) {
  ui_->setupUi(this);
}

CTemplateVerificationdlg::~CTemplateVerificationdlg() = default;

bool CTemplateVerificationdlg::OnInitDialog() {
  CDialog::OnInitDialog();
  browser_ = ShowLibraryTree(*this, *command_, bitmaps_, icons_, 0, 1);

  CheckDlgButton(IDC_SYMBOL_INFO, true);
  CheckDlgButton(IDC_PIN_LOADS, true);
  CheckDlgButton(IDC_PROPERTY_VALUES, true);
  return true;
}

bool CTemplateVerificationdlg::OnCommand(int id) {
  switch (id) {
    case IDC_BROWSE_TEMPLATE:
      ChooseTemplate();
      return true;
    default:
      return OnCloseOrHelp(id, IDC_CLOSE, IDC_HELP, IDC_CLOSE);
  }
}

void CTemplateVerificationdlg::OnHelp() { CLHelpHandler::InvokeHelp(kHelpTopic); }

void CTemplateVerificationdlg::ChooseTemplate() {
  // Start where the template named now lies, else in the project's folder.
  std::string folder = command_->GetProjectPath();
  const std::string current = GetDlgItemText(IDC_TEMPLATE_PATH);
  if (!current.empty()) folder = std::filesystem::path(current).parent_path().string();
  if (const auto path =
          CurrentPrompter().OpenFile(TemplateFileRequest("Select Part Template", folder))) {
    SetDlgItemText(IDC_TEMPLATE_PATH, *path);
  }
}

bool CTemplateVerificationdlg::TakeSelectedPart(std::string& library, std::string& cell) {
  // Exactly one library and one cell of it: none chosen and several chosen each say so.
  const auto takeOne = [](const std::vector<std::string>& chosen, const char* several,
                          std::string& one) {
    if (chosen.size() != 1) {
      AfxMessageBox(chosen.empty() ? kSelectCell : several, MB_ICONWARNING);
      return false;
    }
    one = chosen.front();
    return true;
  };
  std::vector<std::string> libraries;
  browser_->GetSelectedLibList(libraries);
  if (!takeOne(libraries, kOneLibrary, library)) return false;
  std::vector<std::string> cells;
  browser_->GetSelectedCellList(library, cells);
  // A library of one part can be checked without ticking that part.
  if (cells.empty()) browser_->GetCellList(library, cells);
  return takeOne(cells, kOneCell, cell);
}

void CTemplateVerificationdlg::OnOK() {
  // Verify: the dialog stays open for further checks.
  checkType_ = 0;
  const std::string listFile =
      command_->GetProjectPath() +
      (browser_->IsRefLibSelected() != 0 ? kReferenceLibraryList : kProjectLibraryList);
  std::string library;
  std::string cell;
  if (!TakeSelectedPart(library, cell)) return;
  const std::string templatePath = GetDlgItemText(IDC_TEMPLATE_PATH);
  if (templatePath.empty()) {
    AfxMessageBox(kNoTemplate, MB_ICONWARNING);
    return;
  }
  if (IsDlgButtonChecked(IDC_PROPERTY_VALUES)) checkType_ |= kPropertyValues;
  if (IsDlgButtonChecked(IDC_PIN_LOADS)) checkType_ |= kPinLoads;
  if (IsDlgButtonChecked(IDC_SYMBOL_INFO)) checkType_ |= kSymbolInformation;
  if (checkType_ == 0) {
    AfxMessageBox(kNoAspect, MB_ICONWARNING);
    return;
  }
  libraryList_ = listFile;
  library_ = library;
  cell_ = cell;
  RunCheck(templatePath);
}

void CTemplateVerificationdlg::RunCheck(const std::string& templatePath) {
  TemplateRequest request;
  request.libraryList = libraryList_;
  request.library = library_;
  request.cell = cell_;
  request.cells = {cell_};
  request.templateFile = templatePath;
  request.aspects = checkType_;
  // The report lives for this check only.
  UTemplateReport report(nullptr);
  TemplateProgress progress;
  progress.differences = report.getErrorList();
  results_ = RunTemplate(request, progress);
  const VerifyResult& result = results_.front();
  if (!result.cause.empty()) {
    AfxMessageBox(result.cause, MB_ICONERROR);
  } else if (result.verdict == Verdict::Passed) {
    AfxMessageBox(kNoTemplateDifferences, MB_ICONINFORMATION);
  } else {
    CallTemplateEngine([&] { report.create(); });
  }
}
