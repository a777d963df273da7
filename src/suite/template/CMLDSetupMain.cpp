#include <filesystem>

#include "framework/Prompter.h"
#include "model/BException.h"
#include "model/RTemplateFile.h"
#include "outside/mldsetup.h"
#include "suite/template/TemplateEditorDialog.h"

namespace {
// Where the choosers start: the folder of the project file.
std::string ProjectFolder(const std::string& projectFile) {
  return std::filesystem::path(projectFile).parent_path().string();
}
}  // namespace

CMLDSetupMain::CMLDSetupMain(unsigned kind)
    : kind_(kind), template_(std::make_unique<RTemplateFile>()) {}

CMLDSetupMain::~CMLDSetupMain() = default;

void CMLDSetupMain::InitialiseSetupForKestra(std::string text) { projectFile_ = std::move(text); }

int CMLDSetupMain::LoadDataFromFile(std::string path) {
  if (path.empty()) {
    FileRequest request;
    request.title = "Open Part Template";
    request.directory = ProjectFolder(projectFile_);
    request.filter = "Template Files (*.tpl)";
    request.defaultSuffix = "tpl";
    const auto chosen = CurrentPrompter().OpenFile(request);
    if (!chosen) return 0;
    path = *chosen;
  }
  RTemplateFile loaded;
  try {
    loaded.readFile(path);
  } catch (const BException& e) {
    AfxMessageBox(e.getExceptionInfo(), MB_ICONERROR);
    return 0;
  }
  *template_ = loaded;
  path_ = path;
  return 1;
}

bool CMLDSetupMain::DisplaySetup() {
  TemplateEditorDialog editor(*template_, path_, ProjectFolder(projectFile_), nullptr);
  editor.DoModal();
  return editor.WasSaved();
}
