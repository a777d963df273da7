#include "cmdline/ToolCommands.h"

#include <cctype>

#include "base/ArgumentValue.h"
#include "base/qvdCommon.h"
#include "cmdline/ArgumentTexts.h"
#include "cmdline/SearchPath.h"
#include "convert/CExportXML.h"
#include "convert/CImportXML.h"
#include "outside/CFilePath.h"
#include "suite/launcher/DirectStart.h"

namespace {

// Where the product goes: to the start (the launch record's product) for a sibling tool, into
// the executable text (" -product P" after the program) for one converter, nowhere for the
// others.
enum class ProductGoes { kToStart, kToExecutable, kNowhere };

// A tool command: the launcher operation it stands for and the texts it hands the tool, as
// the module's command table composes them (docs/kestra.md lists them).
struct ToolCommand {
  const char* mode;
  const char* operation;
  const char* executable;  // "" when the operation names the tool
  // The argument text, from the command's values and its project folder (ending in its
  // separator).
  std::string (*arguments)(const CommandValues& v, const std::string& folder);
  ProductGoes product;
};

std::string NoText(const CommandValues&, const std::string&) { return ""; }
std::string Gui(const CommandValues&, const std::string&) { return " -gui "; }
std::string GuiProduct(const CommandValues& v, const std::string&) {
  return GuiProductText(v.product);
}
std::string Project(const CommandValues& v, const std::string&) { return ProjectText(v.project); }
std::string ProjectWithServer(const CommandValues& v, const std::string&) {
  return ProjectWithServerText(v.project, v.mpsSession, v.mpsHost);
}
std::string Libraries(const CommandValues& v, const std::string& folder) {
  return LibraryConverterText(folder, v.project, v.product);
}
std::string XmlImport(const CommandValues& v, const std::string& folder) {
  return CImportXML::ArgumentText(folder, v.product);
}
std::string XmlExport(const CommandValues& v, const std::string& folder) {
  return CExportXML::ArgumentText(folder, v.product);
}

using enum ProductGoes;
constexpr ToolCommand kToolCommands[] = {
    {"ViewLumenSymbol", "launchLumen", "", NoText, kNowhere},
    {"ImportXML", "launchXML2Tes", "xml2tes.exe", XmlImport, kNowhere},
    {"ImportLumen", "launchLum2Tes", "lum2tes.exe", Libraries, kNowhere},
    {"ImportXML_ToLumen", "launchXML2Lum", "xml2lum.exe", GuiProduct, kNowhere},
    {"ExportXML", "launchTes2XML", "tes2xml.exe", XmlExport, kNowhere},
    {"ExportLumen", "launchTes2Lum", "tes2lum.exe", Libraries, kNowhere},
    {"ExportXML_FromLumen", "launchLum2XML", "lum2xml.exe", Gui, kToExecutable},
    {"Libvue", "launchLibvue", "", Project, kToStart},
    {"Mld", "launchMld", "", ProjectWithServer, kToStart},
    {"Pavrel", "launchPavrel", "", Project, kToStart},
    {"PadEditor", "launchPadsmith", "", NoText, kToStart},
    {"SearchPart", "launchPartFinder", "", Project, kToStart},
};

const ToolCommand* FindToolCommand(std::string_view mode) {
  for (const ToolCommand& command : kToolCommands)
    if (SameCommandName(command.mode, mode)) return &command;
  return nullptr;
}

}  // namespace

void PutJavaRuntimeOnPath(const CommandTeller& tell) {
  switch (PrefixJavaRuntime(qvdGetInstallRoot())) {
    case SearchPathResult::kUnreadable:
      tell("Unable to get path environment variable for java installation", false);
      break;
    case SearchPathResult::kUnsettable:
      tell("Unable to set path to java installation", false);
      break;
    case SearchPathResult::kPrefixed:
      break;
  }
}

// The command's values go into the tools' argument texts: the project paths in double
// quotes, the product and the message server bare. One that would change the words a tool
// receives is refused before anything starts.
std::string RefusedValue(const CommandValues& v) {
  const struct {
    const char* what;
    const std::string& value;
    bool quoted;
  } values[] = {
      {"project file", v.project, true},
      {"product", v.product, false},
      {"message-server session", v.mpsSession, false},
      {"message-server host", v.mpsHost, false},
  };
  for (const auto& value : values) {
    if (std::string why = ArgumentValueProblem(value.value, value.quoted); !why.empty())
      return "Unable to run " + v.mode + ": the " + value.what + " \"" + value.value +
             "\" cannot be passed to a tool intact (" + why + ").";
  }
  return "";
}

bool SameCommandName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

ToolCommandOutcome RunToolCommand(const CommandValues& values, const CommandTeller& tell) {
  const ToolCommand* command = FindToolCommand(values.mode);
  if (command == nullptr) return ToolCommandOutcome::kNotAToolCommand;
  PutJavaRuntimeOnPath(tell);
  if (std::string refusal = RefusedValue(values); !refusal.empty()) {
    tell(refusal, true);
    return ToolCommandOutcome::kNotStarted;
  }
  std::string folder;
  CFilePath().GetProjPathFromName(values.project, folder);
  std::string executable = command->executable;
  if (command->product == kToExecutable) executable += " -product " + values.product;
  const ToolLaunch launch =
      ComposeLaunch(command->operation, executable, command->arguments(values, folder),
                    command->product == kToStart ? values.product : std::string(), "none");
  if (std::string failure = StartDirect(launch); !failure.empty()) {
    tell(failure, true);
    return ToolCommandOutcome::kNotStarted;
  }
  return ToolCommandOutcome::kStarted;
}
