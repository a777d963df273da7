#include "libformat/SymbolView.h"

#include <algorithm>

#include "libformat/ViewFileLines.h"

bool SymbolView::IsOriginCentred() const {
  // In a wider type: coordinates near the limits of int must not overflow the comparison.
  const auto twice = [](auto v) { return 2 * static_cast<long long>(v); };
  const auto sum = [](auto a, auto b) { return static_cast<long long>(a) + b; };
  return hasOrigin && hasExtent && twice(originX) == sum(xMin, xMax) &&
         twice(originY) == sum(yMin, yMax);
}

namespace {

void ReadSymbolLine(const ViewLine& line, bool& hasName, SymbolView& sym, FormatIssues& issues) {
  const std::string& key = line.words[0];
  int v[4];
  if (key == "symbol") {
    if (line.FirstTime(hasName, issues) && line.ExpectWords(2, issues)) {
      sym.name = line.words[1];
      hasName = true;
    }
  } else if (key == "origin") {
    if (line.FirstTime(sym.hasOrigin, issues) && ReadWholeNumbers(line, 1, 2, v, issues)) {
      sym.originX = v[0];
      sym.originY = v[1];
      sym.hasOrigin = true;
    }
  } else if (key == "extent") {
    if (line.FirstTime(sym.hasExtent, issues) && ReadWholeNumbers(line, 1, 4, v, issues)) {
      sym.xMin = std::min(v[0], v[2]);
      sym.xMax = std::max(v[0], v[2]);
      sym.yMin = std::min(v[1], v[3]);
      sym.yMax = std::max(v[1], v[3]);
      sym.hasExtent = true;
    }
  } else if (key == "pin") {
    if (!ReadWholeNumbers(line, 2, 2, v, issues)) return;
    const std::string& name = line.words[1];
    if (std::any_of(sym.pins.begin(), sym.pins.end(),
                    [&](const SymbolPin& p) { return p.name == name; })) {
      line.Report(issues, "pin \"" + name + "\" is declared twice; this line is ignored");
      return;
    }
    sym.pins.push_back({name, v[0], v[1], line.number});
  } else {
    line.Report(issues, "unknown statement \"" + key + "\"");
  }
}

}  // namespace

SymbolViewResult ReadSymbolView(const std::string& file) {
  SymbolViewResult result;
  bool hasName = false;
  result.read = ForEachViewLine(file, result.issues, [&](const ViewLine& line) {
    ReadSymbolLine(line, hasName, result.symbol, result.issues);
  });
  if (result.read && !hasName) result.issues.push_back({file, 0, "no \"symbol\" statement"});
  return result;
}
