#include "suite/template/TemplateEngine.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "model/BException.h"
#include "suite/footprint/WildcardMatch.h"

namespace {

// Every physical part of the part, in the model's order.
std::vector<const EPhysPart*> physicalParts(const TemplatePart& part) {
  std::vector<const EPhysPart*> parts;
  for (const CObject* logical : part.chips().getLogPartList().items())
    for (const CObject* physical : static_cast<const ELogPart*>(logical)->getPhysPartList().items())
      parts.push_back(static_cast<const EPhysPart*>(physical));
  return parts;
}

std::string pinLoad(const EPin& pin, const char* property) {
  auto found = pin.getPropList().find(property);
  return found == pin.getPropList().end() ? "-" : found->second;
}

bool sameLoad(const std::string& expected, const std::string& found) {
  if (expected == "-" || found == "-") return expected == found;
  double a = std::strtod(expected.c_str(), nullptr), b = std::strtod(found.c_str(), nullptr);
  return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a));
}

// The name of a symbol in messages: its name and its view folder.
std::string symbolLabel(const TemplatePart& part, std::size_t index) {
  const SymbolView& view = part.views().symbols[index];
  std::string folder;
  if (const auto& items = part.part().getSymbolDataList().items(); index < items.size()) {
    const auto* symbol = static_cast<const ESymbolData*>(*std::next(items.begin(), index));
    folder = std::filesystem::path(symbol->getSymbolFileName()).parent_path().filename().string();
  }
  return (view.name.empty() ? std::string("(unnamed)") : view.name) +
         (folder.empty() ? "" : " (" + folder + ")");
}

std::string originWord(const SymbolView& view) {
  if (!view.hasOrigin || !view.hasExtent) return "unknown (no origin or extent)";
  return view.IsOriginCentred() ? "centred" : "offset";
}

// A pin's offset from the origin, in a wider type: coordinates at the ends of the int range
// are a difference of up to 2^32 apart.
long long offsetOf(int position, int origin) { return static_cast<long long>(position) - origin; }

// The greatest common divisor of the pins' offsets from the origin (0 when all lie on it).
long long pinGridOf(const SymbolView& view) {
  long long grid = 0;
  for (const SymbolPin& pin : view.pins) {
    grid = std::gcd(grid, std::llabs(offsetOf(pin.x, view.originX)));
    grid = std::gcd(grid, std::llabs(offsetOf(pin.y, view.originY)));
  }
  return grid;
}

std::string nameRelation(const TemplatePart& part, const SymbolView& view) {
  return view.name == part.views().package.symbolName ? "matches" : "differs";
}

class Checker {
 public:
  Checker(const TemplatePart& part, const RTemplateFile& templateFile, BMesgList& differences)
      : part_(part), template_(templateFile), differences_(differences) {}

  void symbolInformation() {
    const auto& symbols = part_.views().symbols;
    if (const std::string* expected = template_.getSymbolValue("symbols");
        expected && std::stoul(*expected) != symbols.size())
      report("symbol information", "symbols", *expected, std::to_string(symbols.size()));
    for (std::size_t i = 0; i < symbols.size(); ++i) {
      const SymbolView& view = symbols[i];
      const std::string where = " of symbol " + symbolLabel(part_, i);
      if (const std::string* expected = template_.getSymbolValue("origin");
          expected && originWord(view) != *expected)
        report("symbol information", "origin" + where, *expected, originWord(view));
      if (const std::string* expected = template_.getSymbolValue("pin_grid")) {
        const long long grid = std::stoll(*expected);
        int off = 0;
        const SymbolPin* first = nullptr;
        for (const SymbolPin& pin : view.pins)
          if (offsetOf(pin.x, view.originX) % grid != 0 ||
              offsetOf(pin.y, view.originY) % grid != 0) {
            if (!first) first = &pin;
            ++off;
          }
        if (first)
          report("symbol information", "pin_grid" + where, "pins on a grid of " + *expected,
                 std::to_string(off) + (off == 1 ? " pin" : " pins") + " off it (first " +
                     first->name + " at " + std::to_string(first->x) + " " +
                     std::to_string(first->y) + ")");
      }
      if (const std::string* expected = template_.getSymbolValue("symbol_name");
          expected && nameRelation(part_, view) != *expected)
        report(
            "symbol information", "symbol_name" + where,
            *expected + " (the package's symbol is \"" + part_.views().package.symbolName + "\")",
            nameRelation(part_, view) + " (\"" + view.name + "\")");
    }
  }

  void pinLoads() {
    for (const EPhysPart* physical : physicalParts(part_))
      for (const auto& [name, element] : physical->getPinList().items()) {
        const auto* pin = static_cast<const EPin*>(element);
        const RTemplatePinLoad* expected = template_.getPinLoad(pin->getPinTypeStr());
        if (!expected) continue;
        const std::string input = pinLoad(*pin, "INPUT_LOAD");
        const std::string output = pinLoad(*pin, "OUTPUT_LOAD");
        if (sameLoad(expected->getInputLoad(), input) &&
            sameLoad(expected->getOutputLoad(), output))
          continue;
        report("pin loads",
               "pin " + name + " (" + pin->getPinTypeStr() + ") of physical part " +
                   physical->getNameStr(),
               "input " + expected->getInputLoad() + " output " + expected->getOutputLoad(),
               "input " + input + " output " + output);
      }
  }

  void propertyValues() {
    const auto parts = physicalParts(part_);
    for (const auto& [name, element] : template_.getPropertyValueMap().items()) {
      const std::string& expected = static_cast<const RTemplateValue*>(element)->getValue();
      for (const EPhysPart* physical : parts) {
        const auto& properties = physical->getPropList();
        auto found = properties.find(name);
        if (found != properties.end() && WildcardMatch(expected, found->second)) continue;
        report("property values", name + " of physical part " + physical->getNameStr(),
               "\"" + expected + "\"",
               found == properties.end() ? "none" : "\"" + found->second + "\"");
      }
    }
  }

  int count() const { return count_; }

 private:
  void report(const std::string& aspect, const std::string& what, const std::string& expected,
              const std::string& found) {
    differences_.add("Part " + part_.label() + ": " + aspect + ": " + what + ": expected " +
                     expected + ", found " + found);
    ++count_;
  }

  const TemplatePart& part_;
  const RTemplateFile& template_;
  BMesgList& differences_;
  int count_ = 0;
};

// Counts values and gives the most frequent one, the first seen on a tie.
class Tally {
 public:
  void add(const std::string& value) {
    if (counts_[value]++ == 0) order_.push_back(value);
  }
  std::string most() const {
    std::string best;
    int bestCount = 0;
    for (const std::string& value : order_)
      if (counts_.at(value) > bestCount) bestCount = counts_.at(value), best = value;
    return best;
  }

 private:
  std::map<std::string, int> counts_;
  std::vector<std::string> order_;
};

// The largest of the usual grids that divides every pin offset.
long standardGrid(long long gcd) {
  for (long grid : {10L, 5L, 2L})
    if (gcd % grid == 0) return grid;
  return 1;
}

}  // namespace

int CheckPartAgainstTemplate(const TemplatePart& part, const RTemplateFile& templateFile,
                             unsigned aspects, BMesgList& differences) {
  Checker checker(part, templateFile, differences);
  if (aspects & kAspectSymbolInformation) checker.symbolInformation();
  if (aspects & kAspectPinLoads) checker.pinLoads();
  if (aspects & kAspectPropertyValues) checker.propertyValues();
  return checker.count();
}

RTemplateFile ExtractTemplate(const TemplatePart& part, BMesgList* notes) {
  RTemplateFile result;
  const auto& symbols = part.views().symbols;
  result.setSymbolValue("symbols", std::to_string(symbols.size()));
  if (!symbols.empty()) {
    const SymbolView& first = symbols.front();
    if (first.hasOrigin && first.hasExtent) result.setSymbolValue("origin", originWord(first));
    long long gcd = 0;
    for (const SymbolView& view : symbols) gcd = std::gcd(gcd, pinGridOf(view));
    if (gcd > 0) result.setSymbolValue("pin_grid", std::to_string(standardGrid(gcd)));
    result.setSymbolValue("symbol_name", nameRelation(part, first));
  }

  std::map<std::string, Tally> loads, properties;
  for (const EPhysPart* physical : physicalParts(part)) {
    for (const auto& [name, element] : physical->getPinList().items()) {
      const auto* pin = static_cast<const EPin*>(element);
      if (pin->getPinType() == EPin::Unknown) continue;
      loads[pin->getPinTypeStr()].add(pinLoad(*pin, "INPUT_LOAD") + " " +
                                      pinLoad(*pin, "OUTPUT_LOAD"));
    }
    for (const auto& [name, value] : physical->getPropList()) properties[name].add(value);
  }
  for (const auto& [type, tally] : loads) {
    const std::string pair = tally.most();
    const std::size_t blank = pair.find(' ');
    result.setPinLoad(type, pair.substr(0, blank), pair.substr(blank + 1));
  }
  for (const auto& [name, tally] : properties) {
    // A value with wildcard characters would match more than itself: such a property is
    // left out (the librarian can add it with a pattern).
    const std::string value = tally.most();
    try {
      if (value.find_first_of("*?") != std::string::npos)
        throw BException("its value \"" + value + "\" holds a wildcard character");
      result.setPropertyValue(name, value);
    } catch (const BException& problem) {
      if (notes)
        notes->add("Part " + part.label() + ": property " + name +
                       " left out of the template: " + problem.getExceptionInfo(),
                   false);
    }
  }
  return result;
}
