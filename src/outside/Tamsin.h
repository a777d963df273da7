// Tamsin, the template library: extracts a template from a part, checks a part against a
// template and shows the results. Failures are thrown as BException with a message a
// librarian understands. AppPartCheck and AppTemplateExtract are standard C++ (the headless
// verbs use them too); the U classes are dialogs, UI thread only.
#pragma once

#include <memory>
#include <string>

#include "model/BMesgList.h"
#include "model/RTemplateFile.h"
#include "outside/Brel.h"
#include "outside/OutsideTypes.h"
#include "outside/SuiteExport.h"

class TemplatePart;  // a part read for a template (suite/template)

class KESTRA_SUITE_API AppPartCheck {
 public:
  // Check aspects, a bit set handed to runChecks.
  using CheckType = unsigned;
  static constexpr CheckType PropertyValues = 1;
  static constexpr CheckType PinLoads = 2;
  static constexpr CheckType SymbolInformation = 4;
  static constexpr CheckType AllAspects = 7;

  AppPartCheck();
  explicit AppPartCheck(BMesgList* messages);  // not owned
  virtual ~AppPartCheck();
  AppPartCheck(const AppPartCheck&) = delete;
  AppPartCheck& operator=(const AppPartCheck&) = delete;

  // Where runChecks writes its differences (not owned; may be replaced between runs).
  void setErrorList(BMesgList* messages);
  // Reads the template file. Throws BException (file, line, what is wrong).
  void loadTemplate(std::string path);
  // Uses a template held in memory instead (for instance the editor's).
  void setTemplate(const RTemplateFile& templateFile);
  const RTemplateFile& getTemplate() const { return template_; }
  // Reads the part: the library is looked up in the library list file ("qvd.lib" or
  // "refqvd.lib" of a project), the cell in its directory. Throws BException when the list,
  // the library, the cell or its package view cannot be read.
  void loadPart(std::string libraryList, std::string library, std::string cell);
  // Checks the loaded part against the template on the aspects (bits above; nothing but
  // those), adding one error message per difference to the error list. Returns the number of
  // differences. Throws BException when no template or part is loaded.
  int runChecks(CheckType aspects);

 private:
  BMesgList* messages_ = nullptr;
  RTemplateFile template_;
  bool haveTemplate_ = false;
  std::unique_ptr<TemplatePart> part_;
};

class KESTRA_SUITE_API AppTemplateExtract {
 public:
  AppTemplateExtract();
  explicit AppTemplateExtract(BMesgList* messages);  // not owned
  virtual ~AppTemplateExtract();
  AppTemplateExtract(const AppTemplateExtract&) = delete;
  AppTemplateExtract& operator=(const AppTemplateExtract&) = delete;

  // Where problems met while reading the part go, as notes (they are not differences).
  void setErrorList(BMesgList* messages);
  // As AppPartCheck::loadPart.
  void loadPart(std::string libraryList, std::string library, std::string cell);
  // Extracts symbol information, pin loads and property values of the loaded part into the
  // template (replacing what it held). Throws BException when no part is loaded.
  void runExtract();
  // Writes the extracted template (RTemplateFile::saveAs).
  void saveAs(std::string path);
  RTemplateFile* getTemplate() { return &template_; }

 private:
  BMesgList* messages_ = nullptr;
  RTemplateFile template_;
  std::unique_ptr<TemplatePart> part_;
};

class TemplateTextDialog;
class TemplateReportDialog;

// A modal window showing one template's text, read-only. Owns its window.
class KESTRA_SUITE_API UTemplateDisplay {
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
class KESTRA_SUITE_API UTemplateReport {
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
