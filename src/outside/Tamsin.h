// Tamsin, the template library: extracts a template from a part, checks a part against a
// template and shows the results. Failures are thrown as BException. Declarations only
// until the template flow needs the bodies. UI thread for the classes with a parent window.
#pragma once

#include <string>

#include "outside/Brel.h"
#include "outside/OutsideTypes.h"

class RTemplateFile;

class AppPartCheck {
 public:
  // Check aspects, a bit set handed to runChecks.
  using CheckType = unsigned;
  explicit AppPartCheck(BMesgList* messages);  // not owned
  void loadTemplate(std::string path);
  // (library list file, library, cell)
  void loadPart(std::string libraryList, std::string library, std::string cell);
  void runChecks(CheckType aspects);
};

class AppTemplateExtract {
 public:
  explicit AppTemplateExtract(BMesgList* messages);  // not owned
  void loadPart(std::string libraryList, std::string library, std::string cell);
  void runExtract();
  void saveAs(std::string path);
  RTemplateFile* getTemplate();
};

class UTemplateDisplay {
 public:
  explicit UTemplateDisplay(HWND parent);
  void SetDisplay(std::string text);
  int DoModal();
};

class UTemplateReport {
 public:
  explicit UTemplateReport(HWND parent);
  // Shows the report; true when it could be shown.
  bool create();
  int DoModal();
  BMesgList* getErrorList();  // owned by the report
};
