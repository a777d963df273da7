#include "convert/kicad/KicadPartWriter.h"

#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "convert/kicad/ImportName.h"

int MillimetresToMils(double millimetres) {
  const double mils = std::round(millimetres / 0.0254);
  // Beyond the grid's range a coordinate is not a real one; keep it defined.
  constexpr double kLimit = std::numeric_limits<int>::max() / 2;
  if (!(mils > -kLimit && mils < kLimit))
    return mils > 0 ? static_cast<int>(kLimit) : static_cast<int>(-kLimit);
  return static_cast<int>(mils);
}

std::string MapPinType(const std::string& kicadType) {
  static const std::map<std::string, std::string> types{{"input", "input"},
                                                        {"output", "output"},
                                                        {"bidirectional", "bidir"},
                                                        {"tri_state", "tristate"},
                                                        {"passive", "passive"},
                                                        {"power_in", "power"},
                                                        {"power_out", "power"},
                                                        {"open_collector", "opencollector"},
                                                        {"open_emitter", "opencollector"},
                                                        {"unspecified", "passive"},
                                                        {"free", "passive"},
                                                        {"no_connect", "passive"}};
  const auto found = types.find(kicadType);
  return found == types.end() ? "" : found->second;
}

std::string FootprintName(const std::string& property) {
  const std::size_t colon = property.find(':');
  return colon == std::string::npos ? property : property.substr(colon + 1);
}

namespace {

// Our name of each pin (by index): KiCad's name, or its number when it has none ("" or "~");
// a name that several pins of different numbers share takes "_NUMBER"; pins of one name and
// number in several units are one pin.
std::vector<std::string> PinNames(const std::vector<KicadPin>& pins) {
  std::map<std::string, std::set<std::string>> numbersOfName;
  std::vector<std::string> base;
  for (const KicadPin& pin : pins) {
    base.push_back(pin.name.empty() || pin.name == "~" ? pin.number : pin.name);
    numbersOfName[base.back()].insert(pin.number);
  }
  std::vector<std::string> names;
  std::map<std::string, std::string> numberOfName;  // final name -> its pin number
  for (std::size_t i = 0; i < pins.size(); ++i) {
    std::string name = base[i];
    if (numbersOfName[name].size() > 1) name += "_" + pins[i].number;
    name = EncodeImportName(name);
    // Two different pins still on one name (a number twice in one unit): count them apart.
    for (int k = 2; numberOfName.count(name) && numberOfName[name] != pins[i].number; ++k)
      name = EncodeImportName(base[i]) + "_" + std::to_string(k);
    numberOfName.emplace(name, pins[i].number);
    names.push_back(name);
  }
  return names;
}

std::string PropertyName(const std::string& key) {
  static const std::map<std::string, std::string> known{{"Reference", "CLASS"},
                                                        {"Value", "PART_NAME"},
                                                        {"Footprint", "JEDEC_TYPE"},
                                                        {"Datasheet", "DATASHEET"},
                                                        {"ki_description", "DESCRIPTION"},
                                                        {"ki_keywords", "KEYWORDS"},
                                                        {"ki_fp_filters", "FOOTPRINT_FILTERS"},
                                                        {"ki_locked", "LOCKED"},
                                                        {"Description", "DESCRIPTION"}};
  const auto found = known.find(key);
  if (found != known.end()) return found->second;
  std::string name = "KICAD_";
  for (const char c : key) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    name.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : keep ? c : '_');
  }
  return name;
}

std::string SymbolText(const KicadSymbol& symbol, const std::string& cell, int unit,
                       const std::vector<std::string>& names, const std::string& sourceFile) {
  std::string text = "# imported from " + sourceFile + " line " + std::to_string(symbol.line) +
                     ": unit " + std::to_string(unit) + " of " + std::to_string(symbol.units) +
                     "\nsymbol " + cell + "\norigin 0 0\n";
  KicadBox body;
  auto found = symbol.bodies.find(0);
  if (found != symbol.bodies.end()) body.Add(found->second);
  found = symbol.bodies.find(unit);
  if (found != symbol.bodies.end()) body.Add(found->second);
  std::string pins;
  std::set<std::string> written;
  for (std::size_t i = 0; i < symbol.pins.size(); ++i) {
    const KicadPin& pin = symbol.pins[i];
    if ((pin.unit != 0 && pin.unit != unit) || !written.insert(names[i]).second) continue;
    if (!body.any) body.Add(pin.x, pin.y);  // no graphics: the pins span the body
    pins += "pin " + names[i] + " " + std::to_string(MillimetresToMils(pin.x)) + " " +
            std::to_string(MillimetresToMils(pin.y)) + (pin.hidden ? "  # hidden\n" : "\n");
  }
  if (!body.any) body.Add(0, 0);
  text += "extent " + std::to_string(MillimetresToMils(body.xMin)) + " " +
          std::to_string(MillimetresToMils(body.yMin)) + " " +
          std::to_string(MillimetresToMils(body.xMax)) + " " +
          std::to_string(MillimetresToMils(body.yMax)) + "\n";
  return text + pins;
}

std::string PackageText(const KicadSymbol& symbol, const std::string& cell,
                        const std::vector<std::string>& names, const std::string& sourceFile) {
  std::string text = "# imported from " + sourceFile + " line " + std::to_string(symbol.line) +
                     "\npackage " + cell + "\nsymbol " + cell + "\n";
  std::set<std::string> given;
  for (const auto& [key, value] : symbol.properties) {
    std::string shown = value;
    if (key == "Datasheet" && (value.empty() || value == "~")) continue;
    if (key == "Reference") {
      // The reference prefix: "U?" and "U" both give "U".
      while (!shown.empty() &&
             (shown.back() == '?' || (shown.back() >= '0' && shown.back() <= '9')))
        shown.pop_back();
    }
    if (key == "Footprint") {
      if (value.empty()) continue;
      text += "property KICAD_FOOTPRINT " + QuotedImportValue(value) + "\n";
      shown = EncodeImportName(FootprintName(value));
    }
    if (shown.empty()) continue;
    const std::string name = PropertyName(key);
    if (!given.insert(name).second) continue;  // a property name once, as the reader wants
    text += "property " + name + " " + QuotedImportValue(shown) + "\n";
  }
  text += "physical " + cell + "\n";
  std::set<std::string> written;
  std::string alternates;
  for (std::size_t i = 0; i < symbol.pins.size(); ++i) {
    const KicadPin& pin = symbol.pins[i];
    if (!written.insert(names[i]).second) continue;
    std::string type = MapPinType(pin.type);
    if (type.empty()) type = "passive";
    text += "  pin " + names[i] + " " + EncodeImportName(pin.number) + " " + type +
            (pin.hidden ? "  # hidden\n" : "\n");
    for (const std::string& alternate : pin.alternates)
      alternates += "  # alternate of " + names[i] + ": " + alternate + "\n";
  }
  return text + alternates + "end\n";
}

}  // namespace

ConvertedPart ConvertKicadSymbol(const KicadSymbol& symbol, const std::string& sourceFile) {
  ConvertedPart part;
  part.cell = EncodeImportName(symbol.name);
  if (const std::string* footprint = symbol.Property("Footprint")) part.footprint = *footprint;
  const std::vector<std::string> names = PinNames(symbol.pins);
  for (int unit = 1; unit <= symbol.units; ++unit)
    part.files.emplace_back("sym_" + std::to_string(unit) + "/symbol.sym",
                            SymbolText(symbol, part.cell, unit, names, sourceFile));
  part.files.emplace_back("package/package.pkg", PackageText(symbol, part.cell, names, sourceFile));
  return part;
}
