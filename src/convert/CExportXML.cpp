#include "convert/CExportXML.h"

#include "context/CKestraCmdContext.h"
#include "outside/CToolLauncher.h"

CExportXML::CExportXML(CKestraCmdContext* command, CToolLauncher* launcher)
    : command_(command), launcher_(launcher) {}

void CExportXML::Run() {
  launcher_->launchTes2XML(ArgumentText(command_->GetProjectPath(), command_->GetProduct()),
                           "tes2xml.exe");
}
