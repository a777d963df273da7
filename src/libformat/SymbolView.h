// Reading a symbol view file ("symbol.sym"): name, origin, extent and pins. Standard C++.
#pragma once

#include <string>
#include <vector>

#include "libformat/FormatIssue.h"

struct SymbolPin {
  std::string name;
  int x = 0;
  int y = 0;
  int line = 0;  // where the pin is declared
};

struct SymbolView {
  std::string name;
  bool hasOrigin = false;
  int originX = 0;
  int originY = 0;
  bool hasExtent = false;
  int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  std::vector<SymbolPin> pins;  // in file order, each name once

  // True when the origin is the middle of the extent (both given).
  bool IsOriginCentred() const;
};

struct SymbolViewResult {
  bool read = false;  // the file could be opened
  SymbolView symbol;
  FormatIssues issues;
};

// The file name of a symbol view inside its view directory.
inline constexpr const char* kSymbolFileName = "symbol.sym";

SymbolViewResult ReadSymbolView(const std::string& file);
