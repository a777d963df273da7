#include "host/HostArguments.h"

#include "base/HelpWord.h"

const char* const kHostUsage =
    "usage: kestra -product PRODUCT -proj PROJECT.tak -mode COMMAND\n"
    "              [-mpssession SESSION -mpshost HOST]\n";

const char* const kHostUsageEnd =
    "       kestra help [VERB [FLOW]]     kestra -help     kestra --version\n"
    "COMMAND is one of ViewSymbol, ViewLumenSymbol, SetupTemplate, ViewFootprint, ImportXML,\n"
    "ImportLumen, ImportXML_ToLumen, ExportXML, ExportLumen, ExportXML_FromLumen, Simulation,\n"
    "VerifyWithRulex, VerifyWithPackaging, VerifyWithSimulation, VerifyWithTemplate,\n"
    "VerifyWithPavrel, Libvue, Mld, Pavrel, PadEditor, SearchPart (case does not matter).\n";

HostParse ParseHostArguments(const std::vector<std::string>& words) {
  HostArguments parsed;
  bool haveProduct = false, haveProject = false, haveMode = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& option = words[i];
    if (IsHelpWord(option)) {
      parsed.help = true;
      return {parsed, {}};
    }
    if (option != "-product" && option != "-proj" && option != "-mode" && option != "-mpssession" &&
        option != "-mpshost")
      return {std::nullopt, "unknown argument \"" + option + "\""};
    if (i + 1 >= words.size()) return {std::nullopt, option + " needs a value"};
    const std::string& value = words[++i];
    if (option == "-product") {
      parsed.product = value;
      haveProduct = true;
    } else if (option == "-proj") {
      parsed.project = value;
      haveProject = true;
    } else if (option == "-mode") {
      parsed.mode = value;
      haveMode = true;
    } else if (option == "-mpssession") {
      parsed.mpsSession = value;
    } else {
      parsed.mpsHost = value;
    }
  }
  if (!haveProduct) return {std::nullopt, "-product is missing"};
  if (!haveProject || parsed.project.empty()) return {std::nullopt, "-proj is missing"};
  if (!haveMode) return {std::nullopt, "-mode is missing"};
  return {parsed, {}};
}
