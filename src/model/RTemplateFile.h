// A part template in memory: what a standard part of the site must look like, in three
// sections: symbol information (key to value), pin loads (pin type to input and output
// load) and property values (property name to value, wildcards allowed). Read from and
// written to a ".tpl" file (docs/template-format.md). Every failure throws BException with
// the file, the line and what is wrong. Copying copies the entries. One thread at a time.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/RTemplatePinLoad.h"
#include "model/RTemplateValue.h"
#include "model/WCMapStringToOb.h"

class RTemplateFile {
 public:
  using SymbolValueMap = std::map<std::string, std::string>;
  // The kinds of line a template file holds.
  enum DirectiveType { Blank, Version, Section, Entry, End };
  // The version this program reads and writes (the number on the first line).
  static constexpr int kVersion = 1;

  RTemplateFile();
  virtual ~RTemplateFile();
  RTemplateFile(const RTemplateFile& other);
  RTemplateFile& operator=(const RTemplateFile& other);

  // Replaces the entries by those of the file. On failure the template is left as it was.
  virtual void readFile(const std::string& path);
  // Writes the template to path, replacing the file at once (a reader never sees half a
  // file). A folder that does not exist is an error; it is not created.
  virtual void saveAs(const std::string& path) const;
  // Replaces the entries by those of text; sourceName names it in messages.
  void fromString(const std::string& text, const std::string& sourceName = "template");
  // The template as the file's text.
  std::string toString() const;
  // The file last read or written, empty for a template made in memory.
  const std::string& getFileName() const { return fileName_; }

  // --- The three maps, in key order. Elements: RTemplateValue, RTemplatePinLoad.
  const WCMapStringToOb& getPropertyValueMap() const { return propertyValueMap_; }
  const WCMapStringToOb& getPinTypeValueMap() const { return pinTypeValueMap_; }
  const SymbolValueMap& getSymbolValueMap() const { return symbolValueMap_; }
  // Replace a whole section by a copy of map (its elements stay the caller's); an entry
  // that a template cannot hold throws and leaves the section as it was.
  void setPropertyValueMap(const WCMapStringToOb& map);
  void setPinTypeValueMap(const WCMapStringToOb& map);
  void setSymbolValueMap(const SymbolValueMap& map);

  // --- Editing entries one by one (the template editor). Setters add or replace and throw
  // BException for a name or value the file could not hold; removers return false when
  // there was no such entry.
  std::vector<std::string> getPropertyNames() const;
  // The value of the property, nullptr when the template has none.
  const std::string* getPropertyValue(const std::string& name) const;
  void setPropertyValue(const std::string& name, const std::string& value);
  bool removePropertyValue(const std::string& name);

  std::vector<std::string> getPinTypes() const;
  // The loads of pin type, nullptr when the template has none.
  const RTemplatePinLoad* getPinLoad(const std::string& pinType) const;
  // pinType: a pin type word (knownPinTypes); loads: decimal numbers, or "-" for none.
  void setPinLoad(const std::string& pinType, const std::string& inputLoad,
                  const std::string& outputLoad);
  bool removePinLoad(const std::string& pinType);

  std::vector<std::string> getSymbolKeys() const;
  const std::string* getSymbolValue(const std::string& key) const;
  // key: one of knownSymbolKeys; value: as symbolValueHint(key) says.
  void setSymbolValue(const std::string& key, const std::string& value);
  bool removeSymbolValue(const std::string& key);

  void clear();
  bool isEmpty() const;

  // What an editor offers: the symbol keys, what each accepts, and the pin types.
  static const std::vector<std::string>& knownSymbolKeys();
  static std::string symbolValueHint(const std::string& key);
  static const std::vector<std::string>& knownPinTypes();
  // Empty when value suits key, else what is wrong with it.
  static std::string checkSymbolValue(const std::string& key, const std::string& value);

 protected:
  // The reading steps: filterDirective trims a line and tells whether it holds anything
  // (comments and blank lines do not); getDirectiveType classifies what remains;
  // processValues takes an entry line of the current section.
  virtual bool filterDirective(std::string& line) const;
  virtual DirectiveType getDirectiveType(const std::string& line) const;
  virtual void processValues(const std::string& line, int lineNumber);

 private:
  WCMapStringToOb propertyValueMap_{10, true};
  WCMapStringToOb pinTypeValueMap_{10, true};
  SymbolValueMap symbolValueMap_;
  mutable std::string fileName_;  // saveAs records where the template went
  // Reading state: the source's name and the section entries go to.
  std::string source_;
  std::string section_;
  std::map<std::string, int> entryLines_;  // section + name -> line, to report duplicates
};
