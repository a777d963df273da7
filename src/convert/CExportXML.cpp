#include "convert/CExportXML.h"

#include "context/CKestraCmdContext.h"
#include "outside/CToolLauncher.h"

CExportXML::CExportXML(CKestraCmdContext* command, CToolLauncher* launcher)
    : command_(command), launcher_(launcher) {}

// No leading blank; two blanks before "-product" (the converter's texts are fixed).
std::string CExportXML::ArgumentText(const std::string& projectPath, const std::string& product) {
  return "-qvdlib \"" + projectPath + "qvd.lib\" -gui  -product " + product;
}

void CExportXML::Run() {
  launcher_->launchTes2XML(ArgumentText(command_->GetProjectPath(), command_->GetProduct()),
                           "tes2xml.exe");
}
