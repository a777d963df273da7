#include "model/RTemplateFile.h"

#include "model/BException.h"

namespace {
[[noreturn]] void notBuilt() { throw BException("The template file reader is not built yet"); }
}  // namespace

RTemplateFile::RTemplateFile() = default;
RTemplateFile::~RTemplateFile() = default;
RTemplateFile::RTemplateFile(const RTemplateFile& other) { *this = other; }
RTemplateFile& RTemplateFile::operator=(const RTemplateFile&) { notBuilt(); }
void RTemplateFile::readFile(const std::string&) { notBuilt(); }
void RTemplateFile::saveAs(const std::string&) const { notBuilt(); }
void RTemplateFile::fromString(const std::string&, const std::string&) { notBuilt(); }
std::string RTemplateFile::toString() const { notBuilt(); }
void RTemplateFile::setPropertyValueMap(const WCMapStringToOb&) { notBuilt(); }
void RTemplateFile::setPinTypeValueMap(const WCMapStringToOb&) { notBuilt(); }
void RTemplateFile::setSymbolValueMap(const SymbolValueMap&) { notBuilt(); }
std::vector<std::string> RTemplateFile::getPropertyNames() const { notBuilt(); }
const std::string* RTemplateFile::getPropertyValue(const std::string&) const { notBuilt(); }
void RTemplateFile::setPropertyValue(const std::string&, const std::string&) { notBuilt(); }
bool RTemplateFile::removePropertyValue(const std::string&) { notBuilt(); }
std::vector<std::string> RTemplateFile::getPinTypes() const { notBuilt(); }
const RTemplatePinLoad* RTemplateFile::getPinLoad(const std::string&) const { notBuilt(); }
void RTemplateFile::setPinLoad(const std::string&, const std::string&, const std::string&) {
  notBuilt();
}
bool RTemplateFile::removePinLoad(const std::string&) { notBuilt(); }
std::vector<std::string> RTemplateFile::getSymbolKeys() const { notBuilt(); }
const std::string* RTemplateFile::getSymbolValue(const std::string&) const { notBuilt(); }
void RTemplateFile::setSymbolValue(const std::string&, const std::string&) { notBuilt(); }
bool RTemplateFile::removeSymbolValue(const std::string&) { notBuilt(); }
void RTemplateFile::clear() { notBuilt(); }
bool RTemplateFile::isEmpty() const { notBuilt(); }
const std::vector<std::string>& RTemplateFile::knownSymbolKeys() { notBuilt(); }
std::string RTemplateFile::symbolValueHint(const std::string&) { notBuilt(); }
const std::vector<std::string>& RTemplateFile::knownPinTypes() { notBuilt(); }
std::string RTemplateFile::checkSymbolValue(const std::string&, const std::string&) {
  notBuilt();
}
bool RTemplateFile::filterDirective(std::string&) const { notBuilt(); }
RTemplateFile::DirectiveType RTemplateFile::getDirectiveType(const std::string&) const {
  notBuilt();
}
void RTemplateFile::processValues(const std::string&, int) { notBuilt(); }
