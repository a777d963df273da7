#include "verify/template/TemplateEngineCall.h"

#include <exception>
#include <string>

#include "framework/Prompter.h"
#include "outside/Brel.h"

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
