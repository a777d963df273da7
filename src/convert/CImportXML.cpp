#include "convert/CImportXML.h"

#include "context/CKestraCmdContext.h"
#include "outside/CToolLauncher.h"

CImportXML::CImportXML(CKestraCmdContext* command, CToolLauncher* launcher)
    : command_(command), launcher_(launcher) {}

// No leading blank; single blanks; the converter's scratch folder is <project dir>temp.
std::string CImportXML::ArgumentText(const std::string& projectPath, const std::string& product) {
  return "-qvdlib \"" + projectPath + "qvd.lib\" -gui -tmp \"" + projectPath + "temp\" -product " +
         product;
}

void CImportXML::Run() {
  launcher_->launchXML2Tes(ArgumentText(command_->GetProjectPath(), command_->GetProduct()),
                           "xml2tes.exe");
}
