// The "ImportXML" command: starts the converter of XML into the project's libraries (xml2tes) in
// its graphical mode with an argument text composed from the command object's fields. Lives for one
// ExecuteCmd; the command object and the launcher are borrowed, not owned. UI thread.
#pragma once

#include <string>

class CKestraCmdContext;
class CToolLauncher;

class CImportXML {
 public:
  CImportXML(CKestraCmdContext* command, CToolLauncher* launcher);
  virtual ~CImportXML() = default;
  CImportXML(const CImportXML&) = delete;
  CImportXML& operator=(const CImportXML&) = delete;

  // The converter's argument text for a project directory and a product. No leading blank; single
  // blanks; the converter's scratch folder is <project dir>temp. Inline: the host's tool commands
  // compose it without the converter's library.
  static std::string ArgumentText(const std::string& projectPath, const std::string& product) {
    return "-qvdlib \"" + projectPath + "qvd.lib\" -gui -tmp \"" + projectPath +
           "temp\" -product " + product;
  }
  void Run();

 private:
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
};
