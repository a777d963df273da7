#include "verify/template/CSetupTemplate.h"

#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "model/RTemplateFile.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CLHelpHandler.h"
#include "outside/Tamsin.h"
#include "outside/mldsetup.h"
#include "verify/template/TemplateEngineCall.h"
#include "verify/template/TemplateTexts.h"
#include "verify/template/ui_CSetupTemplate.h"

namespace {
constexpr int kSymbolViews = 6;
}  // namespace

CSetupTemplate::CSetupTemplate(CKestraCmdContext* command, CToolLauncher* launcher, QWidget* parent)
    : CDialog(IDD, parent),
      ui_(std::make_unique<Ui::CSetupTemplate>()),
      command_(command),
      launcher_(launcher) {
  ui_->setupUi(this);
}

CSetupTemplate::~CSetupTemplate() = default;

bool CSetupTemplate::OnInitDialog() {
  CDialog::OnInitDialog();
  browser_ = std::make_unique<C5XBrowserUI>(command_->GetProjectPath(), command_->GetProjectName());
  browser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kLibrary, {100, 140, 300, 230},
                             {10, 140, 150, 165}, kSymbolViews);
  browser_->ShowBrowserCombo(GetSafeHwnd(), C5XBrowserUI::kCell, {100, 190, 300, 280},
                             {10, 190, 150, 215}, kSymbolViews);
  CheckDlgButton(IDC_NEW_TEMPLATE, true);
  EnableChoosers(false);
  return true;
}

bool CSetupTemplate::OnCommand(int id) {
  switch (id) {
    case IDC_NEW_TEMPLATE:
    case IDC_EDIT_TEMPLATE:
      EnableChoosers(false);
      return true;
    case IDC_EXTRACT_TEMPLATE:
      EnableChoosers(true);
      return true;
    default:
      return OnCloseOrHelp(id, IDC_CLOSE, IDC_HELP, IDC_CLOSE);
  }
}

void CSetupTemplate::OnHelp() { CLHelpHandler::InvokeHelp(kHelpTopic); }

void CSetupTemplate::EnableChoosers(bool enable) {
  browser_->EnableBrowserCombo(enable ? 1 : 0, C5XBrowserUI::kLibrary);
  browser_->EnableBrowserCombo(enable ? 1 : 0, C5XBrowserUI::kCell);
}

void CSetupTemplate::OnOK() {
  // The dialog stays open for further actions.
  const std::string libraryList = command_->GetProjectPath() + kProjectLibraryList;
  const std::string library = browser_->GetSelectedLib();
  const std::string cell = browser_->GetSelectedCell();
  if (IsDlgButtonChecked(IDC_NEW_TEMPLATE)) {
    CreateTemplate();
  } else if (IsDlgButtonChecked(IDC_EDIT_TEMPLATE)) {
    EditTemplate();
  } else if (IsDlgButtonChecked(IDC_EXTRACT_TEMPLATE)) {
    ExtractTemplate(libraryList, library, cell);
  }
}

void CSetupTemplate::CreateTemplate() {
  CMLDSetupMain setup(2);
  setup.InitialiseSetupForKestra(command_->GetProject());
  setup.DisplaySetup();
}

void CSetupTemplate::EditTemplate() {
  CMLDSetupMain setup(1);
  setup.InitialiseSetupForKestra(command_->GetProject());
  if (setup.LoadDataFromFile("") == 1) setup.DisplaySetup();
}

void CSetupTemplate::ExtractTemplate(const std::string& libraryList, const std::string& library,
                                     const std::string& cell) {
  const auto path = CurrentPrompter().SaveFile(
      TemplateFileRequest("New Part Template", command_->GetProjectPath()));
  if (!path) return;
  const bool extracted = CallTemplateEngine([&] {
    BMesgList messages;
    AppTemplateExtract extractor;
    extractor.setErrorList(&messages);
    extractor.loadPart(libraryList, library, cell);
    extractor.runExtract();
    extractor.saveAs(*path);
    UTemplateDisplay display(GetSafeHwnd());
    display.SetDisplay(extractor.getTemplate()->toString());
    display.DoModal();
  });
  if (extracted) CheckAgainstExtracted(*path, libraryList, library, cell);
}

void CSetupTemplate::CheckAgainstExtracted(const std::string& templatePath,
                                           const std::string& libraryList,
                                           const std::string& library, const std::string& cell) {
  CallTemplateEngine([&] {
    UTemplateReport report(nullptr);
    const int differences =
        CheckPartInto(report, templatePath, libraryList, library, cell, AppPartCheck::AllAspects);
    if (differences > 0 &&
        AfxMessageBox(StandardizedQuestion(differences), MB_YESNO | MB_ICONQUESTION) == IDYES) {
      report.create();
    }
  });
}
