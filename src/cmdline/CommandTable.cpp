#include "cmdline/CommandTable.h"

#include <filesystem>

#include "cmdline/ArgumentTexts.h"
#include "cmdline/CKestraCmdLine.h"
#include "cmdline/ToolCommands.h"
#include "convert/CExportXML.h"
#include "convert/CImportXML.h"
#include "convert/CViewSymbol.h"
#include "framework/Prompter.h"
#include "verify/footprint/CViewFootprint.h"
#include "verify/packaging/CPackagingVerifydlg.h"
#include "verify/rulex/CRulexVerification.h"
#include "verify/simulation/CCellsimVerification.h"
#include "verify/simviews/CEditSimulationViews.h"
#include "verify/template/CSetupTemplate.h"
#include "verify/template/CTemplateVerificationdlg.h"

namespace {

// A modal dialog of the module: constructed with (command, launcher, no parent), run,
// destroyed when it closes. Its result is not used.
// A dialog on a project file that is not there would show empty choosers and leave the user
// guessing; the user is told instead and no dialog opens.
bool ProjectFileExists(const CKestraCmdLine& c) {
  std::error_code error;
  if (std::filesystem::is_regular_file(c.GetProject(), error)) return true;
  AfxMessageBox("The project file \"" + c.GetProject() + "\" does not exist.", MB_ICONERROR);
  return false;
}

template <class Dialog>
void RunDialog(CKestraCmdLine& c) {
  if (!ProjectFileExists(c)) return;
  Dialog dialog(&c, c.GetLauncher(), nullptr);
  dialog.DoModal();
}

void RunFootprint(CKestraCmdLine& c, const char* mode) {
  if (!ProjectFileExists(c)) return;
  CViewFootprint dialog(&c, c.GetLauncher(), mode, nullptr);
  dialog.DoModal();
}

std::string T1(const CKestraCmdLine& c) {
  return LibraryConverterText(c.GetProjectPath(), c.GetProject(), c.GetProduct());
}
std::string T3(const CKestraCmdLine& c) { return ProjectText(c.GetProject()); }

constexpr CommandEntry kTable[] = {
    {"ViewSymbol", RunDialog<CViewSymbol>, true},
    {"ViewLumenSymbol", [](CKestraCmdLine& c) { c.GetLauncher()->launchLumen(); }},
    {"SetupTemplate", RunDialog<CSetupTemplate>, true},
    {"ViewFootprint", [](CKestraCmdLine& c) { RunFootprint(c, "ViewFootprint"); }, true},
    {"ImportXML", [](CKestraCmdLine& c) { CImportXML(&c, c.GetLauncher()).Run(); }},
    {"ImportLumen",
     [](CKestraCmdLine& c) { c.GetLauncher()->launchLum2Tes(T1(c), "lum2tes.exe"); }},
    {"ImportXML_ToLumen",
     [](CKestraCmdLine& c) {
       c.GetLauncher()->launchXML2Lum(GuiProductText(c.GetProduct()), "xml2lum.exe");
     }},
    {"ExportXML", [](CKestraCmdLine& c) { CExportXML(&c, c.GetLauncher()).Run(); }},
    {"ExportLumen",
     [](CKestraCmdLine& c) { c.GetLauncher()->launchTes2Lum(T1(c), "tes2lum.exe"); }},
    {"ExportXML_FromLumen",
     [](CKestraCmdLine& c) {
       c.GetLauncher()->launchLum2XML(" -gui ", "lum2xml.exe -product " + c.GetProduct());
     }},
    {"Simulation", RunDialog<CEditSimulationViews>, true},
    {"VerifyWithRulex", RunDialog<CRulexVerification>, true},
    {"VerifyWithPackaging", RunDialog<CPackagingVerifydlg>, true},
    {"VerifyWithSimulation", RunDialog<CCellsimVerification>, true},
    {"VerifyWithTemplate", RunDialog<CTemplateVerificationdlg>, true},
    {"VerifyWithPavrel", [](CKestraCmdLine& c) { RunFootprint(c, "VerifyWithPavrel"); }, true},
    {"Libvue", [](CKestraCmdLine& c) { c.GetLauncher()->launchLibvue(T3(c), c.GetProduct()); }},
    {"Mld",
     [](CKestraCmdLine& c) {
       c.GetLauncher()->launchMld(
           ProjectWithServerText(c.GetProject(), c.GetMpsSession(), c.GetMpsHost()),
           c.GetProduct());
     }},
    {"Pavrel", [](CKestraCmdLine& c) { c.GetLauncher()->launchPavrel(T3(c), c.GetProduct()); }},
    {"PadEditor", [](CKestraCmdLine& c) { c.GetLauncher()->launchPadsmith("", c.GetProduct()); }},
    {"SearchPart",
     [](CKestraCmdLine& c) { c.GetLauncher()->launchPartFinder(T3(c), c.GetProduct()); }},
};

}  // namespace

std::span<const CommandEntry> CommandTable() { return kTable; }

const CommandEntry* FindCommand(std::string_view mode) {
  for (const CommandEntry& entry : kTable)
    if (SameCommandName(entry.name, mode)) return &entry;
  return nullptr;
}
