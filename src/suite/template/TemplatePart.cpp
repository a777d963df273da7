#include "suite/template/TemplatePart.h"

#include "model/BException.h"

TemplatePart::~TemplatePart() = default;

std::unique_ptr<TemplatePart> TemplatePart::Load(const std::string&, const std::string&,
                                                 const std::string&, BMesgList*) {
  throw BException("Reading a part for a template is not built yet");
}
