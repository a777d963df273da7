// The "ExportXML" command: starts the converter of the project's libraries to XML (tes2xml) in its
// graphical mode with an argument text composed from the command object's fields. Lives for one
// ExecuteCmd; the command object and the launcher are borrowed, not owned. UI thread.
#pragma once

#include <string>

class CKestraCmdContext;
class CToolLauncher;

class CExportXML {
 public:
  CExportXML(CKestraCmdContext* command, CToolLauncher* launcher);
  virtual ~CExportXML() = default;
  CExportXML(const CExportXML&) = delete;
  CExportXML& operator=(const CExportXML&) = delete;

  // The converter's argument text for a project directory and a product. No leading blank; two
  // blanks before "-product" (the converter's texts are fixed). Inline: the host's tool commands
  // compose it without the converter's library.
  static std::string ArgumentText(const std::string& projectPath, const std::string& product) {
    return "-qvdlib \"" + projectPath + "qvd.lib\" -gui  -product " + product;
  }
  void Run();

 private:
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
};
