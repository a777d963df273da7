#include "model/RTemplateFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "base/ReplaceFile.h"
#include "model/BException.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMagic = "kestra-template";
constexpr const char* kSymbolSection = "symbol";
constexpr const char* kPinLoadSection = "pinloads";
constexpr const char* kPropertySection = "properties";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trim(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && (isBlank(text[begin]) || text[begin] == '\r')) ++begin;
  while (end > begin && (isBlank(text[end - 1]) || text[end - 1] == '\r')) --end;
  return text.substr(begin, end - begin);
}

// Splits off the first word of text; rest is what follows, trimmed.
std::string firstWord(const std::string& text, std::string& rest) {
  std::size_t end = 0;
  while (end < text.size() && !isBlank(text[end])) ++end;
  rest = trim(text.substr(end));
  return text.substr(0, end);
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

bool isWholeNumber(const std::string& text, long minimum) {
  if (text.empty() || text.size() > 9) return false;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  return std::strtol(text.c_str(), nullptr, 10) >= minimum;
}

// A load: "-" (none) or a decimal number of at least 0 ("0.02", "1e-3").
bool isLoad(const std::string& text) {
  if (text == "-") return true;
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.'))
    return false;
  char* end = nullptr;
  errno = 0;
  double value = std::strtod(text.c_str(), &end);
  return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value) && value >= 0;
}

// What is wrong with text as a name of an entry (a property or a pin type); empty when
// nothing is.
std::string nameProblem(const std::string& what, const std::string& name) {
  if (name.empty()) return what + " name is empty";
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7f || c == ' ' || c == '"')
      return what + " name \"" + name + "\" holds a blank, a quote or a control character";
  if (name[0] == '#' || name[0] == '[')
    return what + " name \"" + name + "\" begins with '" + name[0] + "'";
  return {};
}

std::string valueProblem(const std::string& what, const std::string& value) {
  for (unsigned char c : value)
    if ((c < 0x20 && c != '\t') || c == 0x7f)
      return what + " value holds a control character (a value is one line of text)";
  return {};
}

// The offset of the first byte that makes text other than plain UTF-8 text, or npos.
std::size_t binaryOffset(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f) return i;
      ++i;
      continue;
    }
    int length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || (length == 2 && c < 0xC2) || i + length > text.size()) return i;
    for (int k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return i;
    i += length;
  }
  return std::string::npos;
}

std::string quoteIfNeeded(const std::string& value) {
  if (value.empty() || isBlank(value.front()) || isBlank(value.back()) || value.front() == '"')
    return '"' + value + '"';
  return value;
}

std::string joinWords(const std::vector<std::string>& list) {
  std::string result;
  for (const std::string& word : list) result += (result.empty() ? "" : ", ") + word;
  return result;
}

// Writes rows of key and value with the values in one column.
void writeRows(std::ostringstream& out,
               const std::vector<std::pair<std::string, std::string>>& rows) {
  std::size_t width = 0;
  for (const auto& row : rows) width = std::max(width, row.first.size());
  for (const auto& [key, value] : rows)
    out << key << std::string(width - key.size() + 2, ' ') << value << '\n';
}

}  // namespace

RTemplateFile::RTemplateFile() = default;
RTemplateFile::~RTemplateFile() = default;

RTemplateFile::RTemplateFile(const RTemplateFile& other) { *this = other; }

RTemplateFile& RTemplateFile::operator=(const RTemplateFile& other) {
  if (this == &other) return *this;
  propertyValueMap_.RemoveAll();
  for (const auto& [name, element] : other.propertyValueMap_.items())
    propertyValueMap_.SetAt(
        name, new RTemplateValue(static_cast<const RTemplateValue*>(element)->getValue()));
  pinTypeValueMap_.RemoveAll();
  for (const auto& [type, element] : other.pinTypeValueMap_.items()) {
    const auto* load = static_cast<const RTemplatePinLoad*>(element);
    pinTypeValueMap_.SetAt(type, new RTemplatePinLoad(load->getInputLoad(), load->getOutputLoad()));
  }
  symbolValueMap_ = other.symbolValueMap_;
  fileName_ = other.fileName_;
  return *this;
}

// ---- Reading

void RTemplateFile::readFile(const std::string& path) {
  std::error_code error;
  if (!fs::exists(path, error)) throw BException("Template " + path + " does not exist", path);
  if (!fs::is_regular_file(path, error))
    throw BException("Template " + path + " is not a file", path);
  std::string content;
  if (!ReadRegularFile(path, content))
    throw BException("Template " + path + " cannot be read: " + std::strerror(errno), path);
  RTemplateFile read;
  read.fromString(content, path);
  read.fileName_ = path;
  *this = read;
}

void RTemplateFile::fromString(const std::string& text, const std::string& sourceName) {
  RTemplateFile read;
  read.source_ = sourceName;
  auto fail = [&](int line, const std::string& what) {
    std::string where = sourceName + (line > 0 ? ":" + std::to_string(line) : std::string());
    throw BException(where + ": " + what, where);
  };
  if (std::size_t bad = binaryOffset(text); bad != std::string::npos) {
    int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + bad, '\n'));
    fail(line, "binary content (a template is plain text)");
  }
  if (trim(text).empty()) fail(0, "empty file, not a template");

  std::istringstream in(text);
  std::string line;
  int number = 0;
  bool versionSeen = false, ended = false;
  std::map<std::string, int> sectionLines;
  while (std::getline(in, line)) {
    ++number;
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // a UTF-8 mark
    if (!read.filterDirective(line)) continue;
    DirectiveType type = read.getDirectiveType(line);
    if (ended) fail(number, "text after the \"end\" line");
    if (!versionSeen) {
      if (type != Version)
        fail(number, std::string("not a template: the first line must be \"") + kMagic + " " +
                         std::to_string(kVersion) + "\"");
      std::string version;
      firstWord(line, version);
      if (!isWholeNumber(version, 0))
        fail(number, "not a template: \"" + version + "\" is not a version number");
      if (version != std::to_string(kVersion))
        fail(number, "template version " + version +
                         " is not supported (this program reads version " +
                         std::to_string(kVersion) + ")");
      versionSeen = true;
      continue;
    }
    switch (type) {
      case Version:
        fail(number, "a second version line");
        break;
      case End:
        ended = true;
        break;
      case Section: {
        std::string name = trim(line.substr(1, line.size() - 2));
        if (name != kSymbolSection && name != kPinLoadSection && name != kPropertySection)
          fail(number,
               "unknown section [" + name + "] (sections: [symbol], [pinloads], [properties])");
        if (auto first = sectionLines.find(name); first != sectionLines.end())
          fail(number, "section [" + name + "] given twice (first on line " +
                           std::to_string(first->second) + ")");
        sectionLines[name] = number;
        read.section_ = name;
        break;
      }
      case Entry:
        read.processValues(line, number);
        break;
      case Blank:
        break;
    }
  }
  if (!versionSeen) fail(0, "empty file, not a template");
  if (!ended)
    fail(0, "truncated: the template ends at line " + std::to_string(number) +
                " without its \"end\" line");
  read.source_.clear();
  read.section_.clear();
  read.entryLines_.clear();
  read.fileName_ = fileName_;
  *this = read;
}

bool RTemplateFile::filterDirective(std::string& line) const {
  line = trim(line);
  return !line.empty() && line[0] != '#';
}

RTemplateFile::DirectiveType RTemplateFile::getDirectiveType(const std::string& line) const {
  if (line.empty()) return Blank;
  if (line == "end") return End;
  if (line.front() == '[' && line.back() == ']') return Section;
  std::string rest;
  if (firstWord(line, rest) == kMagic) return Version;
  return Entry;
}

void RTemplateFile::processValues(const std::string& line, int lineNumber) {
  const std::string where = source_ + ":" + std::to_string(lineNumber);
  auto fail = [&](const std::string& what) { throw BException(where + ": " + what, where); };
  if (section_.empty())
    fail("\"" + line + "\" stands before the first section ([symbol], [pinloads], [properties])");

  std::string rest;
  const std::string key = firstWord(line, rest);
  const std::string entryKey = section_ + '\n' + key;
  if (auto first = entryLines_.find(entryKey); first != entryLines_.end())
    fail("duplicate entry " + key + " in [" + section_ + "] (first on line " +
         std::to_string(first->second) + ")");
  entryLines_[entryKey] = lineNumber;

  try {
    if (section_ == kSymbolSection) {
      if (rest.empty()) fail("symbol information " + key + " has no value");
      setSymbolValue(key, rest);
    } else if (section_ == kPinLoadSection) {
      std::vector<std::string> loads = words(rest);
      if (loads.size() != 2)
        fail("pin loads of " + key +
             ": write the pin type, its input load and its output load "
             "(\"-\" for none)");
      setPinLoad(key, loads[0], loads[1]);
    } else {
      if (rest.empty()) fail("property " + key + " has no value (write \"\" for an empty value)");
      if (rest.front() == '"') {
        if (rest.size() < 2 || rest.back() != '"') fail("property " + key + ": unterminated quote");
        rest = rest.substr(1, rest.size() - 2);
      }
      setPropertyValue(key, rest);
    }
  } catch (const BException& problem) {
    if (problem.getExceptionLocation() == where) throw;
    fail(problem.getExceptionInfo());
  }
}

// ---- Writing

std::string RTemplateFile::toString() const {
  std::ostringstream out;
  out << kMagic << ' ' << kVersion << '\n';
  out << '[' << kSymbolSection << "]\n";
  std::vector<std::pair<std::string, std::string>> rows;
  for (const std::string& key : knownSymbolKeys())
    if (const std::string* value = getSymbolValue(key)) rows.emplace_back(key, *value);
  writeRows(out, rows);
  out << '[' << kPinLoadSection << "]\n";
  rows.clear();
  for (const auto& [type, element] : pinTypeValueMap_.items()) {
    const auto* load = static_cast<const RTemplatePinLoad*>(element);
    rows.emplace_back(type, load->getInputLoad() + "  " + load->getOutputLoad());
  }
  writeRows(out, rows);
  out << '[' << kPropertySection << "]\n";
  rows.clear();
  for (const auto& [name, element] : propertyValueMap_.items())
    rows.emplace_back(name, quoteIfNeeded(static_cast<const RTemplateValue*>(element)->getValue()));
  writeRows(out, rows);
  out << "end\n";
  return out.str();
}

void RTemplateFile::saveAs(const std::string& path) const {
  if (path.empty()) throw BException("No path given for the template", path);
  const fs::path target(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code error;
  if (!fs::is_directory(folder, error))
    throw BException(
        "Template " + path + " cannot be written: folder " + folder.string() + " does not exist",
        path);
  if (fs::is_directory(target, error))
    throw BException("Template " + path + " cannot be written: it is a folder", path);
  if (!ReplaceFileContent(path, toString()))
    throw BException("Template " + path + " cannot be written: " + std::strerror(errno), path);
  fileName_ = path;
}

// ---- Whole sections

void RTemplateFile::setPropertyValueMap(const WCMapStringToOb& map) {
  RTemplateFile checked;
  for (const auto& [name, element] : map.items()) {
    const auto* value = dynamic_cast<const RTemplateValue*>(element);
    if (!value) throw BException("Property " + name + " of the map is not a template value");
    checked.setPropertyValue(name, value->getValue());
  }
  propertyValueMap_.RemoveAll();
  for (const auto& [name, element] : checked.propertyValueMap_.items())
    propertyValueMap_.SetAt(
        name, new RTemplateValue(static_cast<const RTemplateValue*>(element)->getValue()));
}

void RTemplateFile::setPinTypeValueMap(const WCMapStringToOb& map) {
  RTemplateFile checked;
  for (const auto& [type, element] : map.items()) {
    const auto* load = dynamic_cast<const RTemplatePinLoad*>(element);
    if (!load) throw BException("Pin type " + type + " of the map is not a template pin load");
    checked.setPinLoad(type, load->getInputLoad(), load->getOutputLoad());
  }
  pinTypeValueMap_.RemoveAll();
  for (const auto& [type, element] : checked.pinTypeValueMap_.items()) {
    const auto* load = static_cast<const RTemplatePinLoad*>(element);
    pinTypeValueMap_.SetAt(type, new RTemplatePinLoad(load->getInputLoad(), load->getOutputLoad()));
  }
}

void RTemplateFile::setSymbolValueMap(const SymbolValueMap& map) {
  for (const auto& [key, value] : map)
    if (std::string problem = checkSymbolValue(key, value); !problem.empty())
      throw BException(problem);
  symbolValueMap_ = map;
}

// ---- Entries

std::vector<std::string> RTemplateFile::getPropertyNames() const {
  std::vector<std::string> names;
  for (const auto& item : propertyValueMap_.items()) names.push_back(item.first);
  return names;
}

const std::string* RTemplateFile::getPropertyValue(const std::string& name) const {
  const auto* value = static_cast<const RTemplateValue*>(propertyValueMap_.Lookup(name));
  return value ? &value->getValue() : nullptr;
}

void RTemplateFile::setPropertyValue(const std::string& name, const std::string& value) {
  if (std::string problem = nameProblem("Property", name); !problem.empty())
    throw BException(problem);
  if (std::string problem = valueProblem("Property " + name + ":", value); !problem.empty())
    throw BException(problem);
  if (auto* existing = static_cast<RTemplateValue*>(propertyValueMap_.Lookup(name)))
    existing->setValue(value);
  else
    propertyValueMap_.SetAt(name, new RTemplateValue(value));
}

bool RTemplateFile::removePropertyValue(const std::string& name) {
  return propertyValueMap_.RemoveKey(name);
}

std::vector<std::string> RTemplateFile::getPinTypes() const {
  std::vector<std::string> types;
  for (const auto& item : pinTypeValueMap_.items()) types.push_back(item.first);
  return types;
}

const RTemplatePinLoad* RTemplateFile::getPinLoad(const std::string& pinType) const {
  return static_cast<const RTemplatePinLoad*>(pinTypeValueMap_.Lookup(pinType));
}

void RTemplateFile::setPinLoad(const std::string& pinType, const std::string& inputLoad,
                               const std::string& outputLoad) {
  const auto& types = knownPinTypes();
  if (std::find(types.begin(), types.end(), pinType) == types.end())
    throw BException("Unknown pin type \"" + pinType + "\" (pin types: " + joinWords(types) + ")");
  for (const std::string* load : {&inputLoad, &outputLoad})
    if (!isLoad(*load))
      throw BException("Pin loads of " + pinType + ": \"" + *load +
                       "\" is not a load (a decimal number of at least 0, or - for none)");
  if (auto* existing = static_cast<RTemplatePinLoad*>(pinTypeValueMap_.Lookup(pinType))) {
    existing->setInputLoad(inputLoad);
    existing->setOutputLoad(outputLoad);
  } else {
    pinTypeValueMap_.SetAt(pinType, new RTemplatePinLoad(inputLoad, outputLoad));
  }
}

bool RTemplateFile::removePinLoad(const std::string& pinType) {
  return pinTypeValueMap_.RemoveKey(pinType);
}

std::vector<std::string> RTemplateFile::getSymbolKeys() const {
  std::vector<std::string> keys;
  for (const auto& item : symbolValueMap_) keys.push_back(item.first);
  return keys;
}

const std::string* RTemplateFile::getSymbolValue(const std::string& key) const {
  auto found = symbolValueMap_.find(key);
  return found == symbolValueMap_.end() ? nullptr : &found->second;
}

void RTemplateFile::setSymbolValue(const std::string& key, const std::string& value) {
  if (std::string problem = checkSymbolValue(key, value); !problem.empty())
    throw BException(problem);
  symbolValueMap_[key] = value;
}

bool RTemplateFile::removeSymbolValue(const std::string& key) {
  return symbolValueMap_.erase(key) > 0;
}

void RTemplateFile::clear() {
  propertyValueMap_.RemoveAll();
  pinTypeValueMap_.RemoveAll();
  symbolValueMap_.clear();
}

bool RTemplateFile::isEmpty() const {
  return propertyValueMap_.IsEmpty() && pinTypeValueMap_.IsEmpty() && symbolValueMap_.empty();
}

const std::vector<std::string>& RTemplateFile::knownSymbolKeys() {
  static const std::vector<std::string> keys{"symbols", "origin", "pin_grid", "symbol_name"};
  return keys;
}

std::string RTemplateFile::symbolValueHint(const std::string& key) {
  if (key == "symbols") return "the number of symbol views, a whole number";
  if (key == "origin") return "centred or offset: where each symbol's origin lies in its extent";
  if (key == "pin_grid") return "a whole number above 0: every pin position is a multiple of it";
  if (key == "symbol_name")
    return "matches or differs: each symbol's name against the package's symbol";
  return {};
}

const std::vector<std::string>& RTemplateFile::knownPinTypes() {
  static const std::vector<std::string> types{"input",         "output", "bidir",  "tristate",
                                              "opencollector", "power",  "passive"};
  return types;
}

std::string RTemplateFile::checkSymbolValue(const std::string& key, const std::string& value) {
  const auto& keys = knownSymbolKeys();
  if (std::find(keys.begin(), keys.end(), key) == keys.end())
    return "Unknown symbol information \"" + key + "\" (known: " + joinWords(keys) + ")";
  bool good = key == "symbols"    ? isWholeNumber(value, 0)
              : key == "pin_grid" ? isWholeNumber(value, 1)
              : key == "origin"   ? value == "centred" || value == "offset"
                                  : value == "matches" || value == "differs";
  if (good) return {};
  return "Symbol information " + key + ": \"" + value + "\" is not " + symbolValueHint(key);
}
