#include "convert/kicad/KicadSymbolLibrary.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "convert/kicad/SExpression.h"

void KicadBox::Add(double x, double y) {
  if (!any) {
    xMin = xMax = x;
    yMin = yMax = y;
    any = true;
    return;
  }
  xMin = std::min(xMin, x);
  xMax = std::max(xMax, x);
  yMin = std::min(yMin, y);
  yMax = std::max(yMax, y);
}

void KicadBox::Add(const KicadBox& other) {
  if (!other.any) return;
  Add(other.xMin, other.yMin);
  Add(other.xMax, other.yMax);
}

const std::string* KicadSymbol::Property(std::string_view key) const {
  for (const auto& [name, value] : properties)
    if (name == key) return &value;
  return nullptr;
}

namespace {

// Each unit becomes a symbol view: a wild unit number must not make a million of them.
constexpr int kMostUnits = 1000;

// The unit and body style of a sub-symbol "NAME_U_S"; false when the name has no such end.
bool UnitAndStyle(std::string_view name, int& unit, int& style) {
  const std::size_t last = name.rfind('_');
  if (last == std::string_view::npos || last == 0) return false;
  const std::size_t before = name.rfind('_', last - 1);
  if (before == std::string_view::npos) return false;
  const char* a = name.data() + before + 1;
  const char* b = name.data() + last + 1;
  const auto [endUnit, e1] = std::from_chars(a, name.data() + last, unit);
  const auto [endStyle, e2] = std::from_chars(b, name.data() + name.size(), style);
  return e1 == std::errc() && e2 == std::errc() && endUnit == name.data() + last &&
         endStyle == name.data() + name.size() && unit >= 0 && style >= 0;
}

class SymbolReader {
 public:
  SymbolReader(const std::string& file, const SExprTree& tree, KicadSymbolLibrary& library)
      : file_(file), tree_(tree), library_(library) {}

  void Report(int line, std::string text) {
    library_.issues.push_back({file_, line, std::move(text)});
  }

  // Reads one top-level symbol; false when it must be left out.
  bool ReadSymbol(int node, KicadSymbol& symbol) {
    symbol.name = tree_.Text(node, 1);
    symbol.line = static_cast<int>(tree_.At(node).line);
    bool ok = true;
    for (int child : Children(tree_, node)) {
      if (!tree_.At(child).list) continue;
      const std::string_view head = tree_.Head(child);
      if (head == "property") {
        symbol.properties.emplace_back(tree_.Text(child, 1), tree_.Text(child, 2));
      } else if (head == "extends") {
        symbol.extends = tree_.Text(child, 1);
      } else if (head == "power") {
        symbol.power = true;
      } else if (head == "symbol") {
        int unit = 0, style = 0;
        if (!UnitAndStyle(tree_.Text(child, 1), unit, style)) {
          Report(static_cast<int>(tree_.At(child).line),
                 "unit \"" + tree_.Text(child, 1) + "\" is not named NAME_UNIT_STYLE; ignored");
          continue;
        }
        if (style > 1) continue;  // the alternate (De Morgan) body is not converted
        if (unit > kMostUnits) {
          Report(static_cast<int>(tree_.At(child).line),
                 "unit " + std::to_string(unit) + " of symbol \"" + symbol.name + "\" is beyond " +
                     std::to_string(kMostUnits) + "; the symbol is left out");
          ok = false;
          continue;
        }
        symbol.units = std::max(symbol.units, unit);
        ok = ReadUnit(child, unit, symbol) && ok;
      } else {
        ok = ReadItem(child, 0, symbol) && ok;
      }
    }
    return ok;
  }

 private:
  bool ReadUnit(int node, int unit, KicadSymbol& symbol) {
    bool ok = true;
    for (int child : Children(tree_, node))
      if (tree_.At(child).list) ok = ReadItem(child, unit, symbol) && ok;
    return ok;
  }

  void AddPoint(int node, const char* head, KicadBox& box) {
    const int at = tree_.Find(node, head);
    double x = 0, y = 0;
    if (at >= 0 && tree_.Number(at, 1, x) && tree_.Number(at, 2, y)) box.Add(x, y);
  }

  // A graphic item grows the unit's body; a pin is added. False for a pin that cannot be.
  bool ReadItem(int node, int unit, KicadSymbol& symbol) {
    const std::string_view head = tree_.Head(node);
    KicadBox& body = symbol.bodies[unit];
    if (head == "rectangle" || head == "arc") {
      AddPoint(node, "start", body);
      AddPoint(node, "end", body);
      AddPoint(node, "mid", body);
    } else if (head == "polyline" || head == "bezier") {
      const int pts = tree_.Find(node, "pts");
      if (pts >= 0)
        for (int xy : Children(tree_, pts)) {
          double x = 0, y = 0;
          if (tree_.At(xy).list && tree_.Number(xy, 1, x) && tree_.Number(xy, 2, y)) body.Add(x, y);
        }
    } else if (head == "circle") {
      const int centre = tree_.Find(node, "center");
      const int radius = tree_.Find(node, "radius");
      double x = 0, y = 0, r = 0;
      if (centre >= 0 && radius >= 0 && tree_.Number(centre, 1, x) && tree_.Number(centre, 2, y) &&
          tree_.Number(radius, 1, r)) {
        body.Add(x - r, y - r);
        body.Add(x + r, y + r);
      }
    } else if (head == "text") {
      AddPoint(node, "at", body);
    } else if (head == "pin") {
      return ReadPin(node, unit, symbol);
    }
    return true;
  }

  bool ReadPin(int node, int unit, KicadSymbol& symbol) {
    KicadPin pin;
    pin.type = tree_.Text(node, 1);
    pin.unit = unit;
    pin.line = static_cast<int>(tree_.At(node).line);
    const int at = tree_.Find(node, "at");
    const int name = tree_.Find(node, "name");
    const int number = tree_.Find(node, "number");
    if (at < 0 || !tree_.Number(at, 1, pin.x) || !tree_.Number(at, 2, pin.y)) {
      Report(pin.line, "pin without a position in symbol \"" + symbol.name + "\"");
      return false;
    }
    if (name >= 0) pin.name = tree_.Text(name, 1);
    if (number >= 0) pin.number = tree_.Text(number, 1);
    if (pin.number.empty()) {
      Report(pin.line, "pin \"" + pin.name + "\" of symbol \"" + symbol.name +
                           "\" has no number; the symbol is left out");
      return false;
    }
    const int hide = tree_.Find(node, "hide");
    pin.hidden = tree_.HasFlag(node, "hide") || (hide >= 0 && tree_.Text(hide, 1) != "no");
    for (int child : Children(tree_, node))
      if (tree_.At(child).list && tree_.Head(child) == "alternate")
        pin.alternates.push_back(tree_.Text(child, 1) + " " + tree_.Text(child, 2));
    symbol.pins.push_back(std::move(pin));
    return true;
  }

  const std::string& file_;
  const SExprTree& tree_;
  KicadSymbolLibrary& library_;
};

// Gives a derived symbol its parent's units, pins and bodies, and the parent's properties
// under its own. Parents are resolved first; a missing parent or a loop leaves the symbol out.
void ResolveExtends(const std::string& file, std::vector<KicadSymbol>& symbols,
                    std::vector<bool>& keep, FormatIssues& issues) {
  std::map<std::string, std::size_t> byName;
  for (std::size_t i = 0; i < symbols.size(); ++i) byName.emplace(symbols[i].name, i);
  std::vector<int> state(symbols.size(), 0);  // 0 not yet, 1 in progress, 2 done
  auto resolve = [&](std::size_t start) {
    std::vector<std::size_t> chain;
    std::size_t at = start;
    while (state[at] == 0 && !symbols[at].extends.empty()) {
      state[at] = 1;
      chain.push_back(at);
      const auto parent = byName.find(symbols[at].extends);
      if (parent == byName.end()) {
        issues.push_back({file, symbols[at].line,
                          "symbol \"" + symbols[at].name + "\" extends \"" + symbols[at].extends +
                              "\", which is not in this file; the symbol is left out"});
        keep[at] = false;
        break;
      }
      at = parent->second;
      if (state[at] == 1) {
        issues.push_back({file, symbols[at].line,
                          "symbol \"" + symbols[at].name +
                              "\" extends itself through a loop of parents; left out"});
        for (std::size_t i : chain) keep[i] = false;
        break;
      }
    }
    // Inherit from the top down: each link of the chain from its (now complete) parent.
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      KicadSymbol& child = symbols[*it];
      state[*it] = 2;
      const auto parent = byName.find(child.extends);
      if (!keep[*it] || parent == byName.end()) {
        keep[*it] = false;
        continue;
      }
      if (!keep[parent->second]) {
        issues.push_back({file, child.line,
                          "symbol \"" + child.name + "\" is left out with its parent \"" +
                              child.extends + "\""});
        keep[*it] = false;
        continue;
      }
      const KicadSymbol& from = symbols[parent->second];
      child.pins = from.pins;
      child.bodies = from.bodies;
      child.units = from.units;
      child.power = child.power || from.power;
      auto own = std::move(child.properties);
      child.properties = from.properties;
      for (auto& property : own) {
        auto same = std::find_if(child.properties.begin(), child.properties.end(),
                                 [&](const auto& p) { return p.first == property.first; });
        if (same != child.properties.end()) {
          same->second = std::move(property.second);
        } else {
          child.properties.push_back(std::move(property));
        }
      }
    }
    state[start] = 2;
  };
  for (std::size_t i = 0; i < symbols.size(); ++i)
    if (keep[i] && state[i] == 0) resolve(i);
}

}  // namespace

KicadSymbolLibrary ReadKicadSymbolLibrary(const std::string& file, std::string_view text,
                                          SExprTree* scratch) {
  KicadSymbolLibrary library;
  SExprTree own;
  SExprTree& tree = scratch != nullptr ? *scratch : own;
  if (!tree.Parse(text)) {
    library.issues.push_back({file, tree.ErrorLine(), tree.Error()});
    return library;
  }
  const int root = tree.Root();
  if (tree.Head(root) != "kicad_symbol_lib") {
    library.issues.push_back({file, 1,
                              "not a KiCad symbol library: it starts with \"" +
                                  std::string(tree.Head(root)) + "\", not \"kicad_symbol_lib\""});
    return library;
  }
  const int version = tree.Find(root, "version");
  double number = 0;
  if (version < 0 || !tree.Number(version, 1, number)) {
    library.issues.push_back({file, 1, "kicad_symbol_lib without a format version"});
    return library;
  }
  if (number < kFirstSymbolVersion || number > kLastSymbolVersion) {
    library.issues.push_back({file, static_cast<int>(tree.At(version).line),
                              "kicad_symbol_lib format version " + tree.Text(version, 1) +
                                  " is not one we know (" + std::to_string(kFirstSymbolVersion) +
                                  " to " + std::to_string(kLastSymbolVersion) +
                                  "); the file is left out"});
    return library;
  }
  library.read = true;
  SymbolReader reader(file, tree, library);
  std::vector<bool> keep;
  std::map<std::string, int> firstLine;
  for (int child : Children(tree, root)) {
    if (!tree.At(child).list || tree.Head(child) != "symbol") continue;
    KicadSymbol symbol;
    const bool ok = reader.ReadSymbol(child, symbol);
    const auto [first, fresh] = firstLine.emplace(symbol.name, symbol.line);
    if (!fresh) {
      reader.Report(symbol.line, "symbol \"" + symbol.name + "\" again (first at line " +
                                     std::to_string(first->second) + "); left out");
      continue;
    }
    keep.push_back(ok);
    library.symbols.push_back(std::move(symbol));
  }
  ResolveExtends(file, library.symbols, keep, library.issues);
  std::vector<KicadSymbol> kept;
  kept.reserve(library.symbols.size());
  for (std::size_t i = 0; i < library.symbols.size(); ++i)
    if (keep[i]) kept.push_back(std::move(library.symbols[i]));
  library.symbols = std::move(kept);
  return library;
}
