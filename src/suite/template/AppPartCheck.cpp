#include "outside/Tamsin.h"
#include "suite/template/TemplatePart.h"

AppPartCheck::AppPartCheck() = default;
AppPartCheck::AppPartCheck(BMesgList* messages) : messages_(messages) {}
AppPartCheck::~AppPartCheck() = default;

void AppPartCheck::setErrorList(BMesgList* messages) { messages_ = messages; }

void AppPartCheck::loadTemplate(std::string path) {
  template_.readFile(path);
  haveTemplate_ = true;
}

void AppPartCheck::setTemplate(const RTemplateFile& templateFile) {
  template_ = templateFile;
  haveTemplate_ = true;
}

void AppPartCheck::loadPart(std::string libraryList, std::string library, std::string cell) {
  part_ = TemplatePart::Load(libraryList, library, cell, nullptr);
}

int AppPartCheck::runChecks(CheckType) { throw BException("The template check is not built yet"); }
