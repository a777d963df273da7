// mldsetup: the part-authoring setup library.
#pragma once

#include <memory>
#include <string>

#include "outside/SuiteExport.h"

// Initialises the setup library; called by every command object and again by the host.
KESTRA_SUITE_API void Mldsetup_initialize();

class RTemplateFile;

// The template editor of the setup library. kind 2 starts a new template, kind 1 edits one
// that LoadDataFromFile has read. Owns the template it edits and its window while shown.
// UI thread only.
class KESTRA_SUITE_API CMLDSetupMain {
 public:
  explicit CMLDSetupMain(unsigned kind);
  ~CMLDSetupMain();
  CMLDSetupMain(const CMLDSetupMain&) = delete;
  CMLDSetupMain& operator=(const CMLDSetupMain&) = delete;

  // Reads the template at path; an empty path asks the user for the file first. 1 when a
  // template was loaded; 0 when the user cancelled or the file could not be read (the user
  // has been told why).
  int LoadDataFromFile(std::string path);
  // The project file the template is set up for; its folder is where the choosers start.
  void InitialiseSetupForKestra(std::string text);
  // Shows the editor until the user closes it; true when the template was saved.
  bool DisplaySetup();

  unsigned getKind() const { return kind_; }
  const std::string& getFileName() const { return path_; }
  RTemplateFile& getTemplate() { return *template_; }

 private:
  unsigned kind_;
  std::string projectFile_;
  std::string path_;
  std::unique_ptr<RTemplateFile> template_;
};
