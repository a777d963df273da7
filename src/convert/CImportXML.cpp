#include "convert/CImportXML.h"

#include "context/CKestraCmdContext.h"
#include "outside/CToolLauncher.h"

CImportXML::CImportXML(CKestraCmdContext* command, CToolLauncher* launcher)
    : command_(command), launcher_(launcher) {}

void CImportXML::Run() {
  launcher_->launchXML2Tes(ArgumentText(command_->GetProjectPath(), command_->GetProduct()),
                           "xml2tes.exe");
}
