#include "model/BException.h"
#include "outside/Tamsin.h"
#include "suite/template/TemplateEngine.h"
#include "suite/template/TemplatePart.h"

AppTemplateExtract::AppTemplateExtract() = default;
AppTemplateExtract::AppTemplateExtract(BMesgList* messages) : messages_(messages) {}
AppTemplateExtract::~AppTemplateExtract() = default;

void AppTemplateExtract::setErrorList(BMesgList* messages) { messages_ = messages; }

void AppTemplateExtract::loadPart(std::string libraryList, std::string library, std::string cell) {
  part_.reset();  // a part that cannot be read leaves no earlier one behind
  part_ = TemplatePart::Load(libraryList, library, cell, messages_);
}

void AppTemplateExtract::runExtract() {
  if (!part_) throw BException("No part loaded for the extraction");
  template_ = ExtractTemplate(*part_, messages_);
}

void AppTemplateExtract::saveAs(std::string path) { template_.saveAs(path); }
