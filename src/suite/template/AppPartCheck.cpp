#include "model/BException.h"
#include "outside/Tamsin.h"
#include "suite/template/TemplateEngine.h"
#include "suite/template/TemplatePart.h"

AppPartCheck::AppPartCheck() = default;
AppPartCheck::AppPartCheck(BMesgList* messages) : messages_(messages) {}
AppPartCheck::~AppPartCheck() = default;

void AppPartCheck::setErrorList(BMesgList* messages) { messages_ = messages; }

void AppPartCheck::loadTemplate(std::string path) {
  // A template that cannot be read leaves no earlier one behind to be checked against.
  haveTemplate_ = false;
  template_.readFile(path);
  haveTemplate_ = true;
}

void AppPartCheck::setTemplate(const RTemplateFile& templateFile) {
  template_ = templateFile;
  haveTemplate_ = true;
}

void AppPartCheck::loadPart(std::string libraryList, std::string library, std::string cell) {
  // Problems inside the part's files are not differences from the template; they are left
  // to the rules checker.
  part_.reset();  // a part that cannot be read leaves no earlier one behind
  part_ = TemplatePart::Load(libraryList, library, cell, nullptr);
}

int AppPartCheck::runChecks(CheckType aspects) {
  if (!haveTemplate_) throw BException("No template loaded for the check");
  if (!part_) throw BException("No part loaded for the check");
  BMesgList ignored;
  return CheckPartAgainstTemplate(*part_, template_, aspects, messages_ ? *messages_ : ignored);
}
