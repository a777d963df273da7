#include "cmdline/ArgumentTexts.h"

std::string LibraryConverterText(const std::string& projectPath, const std::string& project,
                                 const std::string& product) {
  return " -qvdlib \"" + projectPath + "qvd.lib\"" + ProjectText(project) + GuiProductText(product);
}

std::string GuiProductText(const std::string& product) { return " -gui  -product " + product; }

std::string ProjectText(const std::string& project) { return " -proj \"" + project + "\""; }

std::string ProjectWithServerText(const std::string& project, const std::string& session,
                                  const std::string& host) {
  std::string text = ProjectText(project);
  if (!session.empty() && !host.empty()) text += " -mpssession " + session + " -mpshost " + host;
  return text;
}
