#include "verify/template/TemplateEngineCall.h"

#include <exception>
#include <string>

#include "framework/Prompter.h"
#include "outside/Brel.h"
#include "outside/Tamsin.h"

bool CallTemplateEngine(const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const BException& e) {
    AfxMessageBox(e.getExceptionInfo(), MB_ICONERROR);
  } catch (const std::exception& e) {
    AfxMessageBox(std::string("The template library failed: ") + e.what(), MB_ICONERROR);
  }
  return false;
}

int CheckPartInto(UTemplateReport& report, const std::string& templatePath,
                  const std::string& libraryList, const std::string& library,
                  const std::string& cell, int aspects) {
  AppPartCheck checker;
  checker.setErrorList(report.getErrorList());
  checker.loadTemplate(templatePath);
  checker.loadPart(libraryList, library, cell);
  checker.runChecks(aspects);
  return report.getErrorList()->getErrorCount();
}
