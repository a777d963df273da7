// Tamsin, the template library: extracts a template from a part, checks a part against a
// template and shows the results. Failures are thrown as BException. Declarations only
// until the template flow needs the bodies. UI thread for the classes with a parent window.
#pragma once

#include <memory>
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

class TemplateTextDialog;
class TemplateReportDialog;

// A modal window showing one template's text, read-only. Owns its window.
class UTemplateDisplay {
 public:
  explicit UTemplateDisplay(HWND parent = nullptr);
  virtual ~UTemplateDisplay();
  UTemplateDisplay(const UTemplateDisplay&) = delete;
  UTemplateDisplay& operator=(const UTemplateDisplay&) = delete;
  void SetDisplay(std::string text);
  int DoModal();
  HWND getDialog();

 private:
  std::unique_ptr<TemplateTextDialog> dialog_;
};

// The differences of a template check: the checker writes them into the report's message
// list, create() shows them (with copy and save as text) until the user closes the window.
class UTemplateReport {
 public:
  explicit UTemplateReport(HWND parent = nullptr);
  virtual ~UTemplateReport();
  UTemplateReport(const UTemplateReport&) = delete;
  UTemplateReport& operator=(const UTemplateReport&) = delete;
  // Shows the report and returns once the user has closed it; true when it was shown.
  virtual bool create();
  virtual int DoModal();
  BMesgList* getErrorList();  // owned by the report
  HWND getDialog();

 private:
  BMesgList messages_;
  std::unique_ptr<TemplateReportDialog> dialog_;
};
