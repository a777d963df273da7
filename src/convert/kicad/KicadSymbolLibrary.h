// Reading a KiCad symbol library (".kicad_sym", s-expression format version 6 and later) into
// plain values: each symbol with its properties, pins and the body extent of each unit, with
// "extends" resolved. Problems are reported with file and line; a symbol that cannot be read
// (a pin without a number, a missing or looping parent, a second symbol of one name) is left
// out and the rest goes on. Standard C++ only.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "libformat/FormatIssue.h"

// A rectangle grown by points, in millimetres.
struct KicadBox {
  bool any = false;
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  void Add(double x, double y);
  void Add(const KicadBox& other);
};

struct KicadPin {
  std::string name;
  std::string number;
  std::string type;     // KiCad's electrical type: input, power_in, tri_state, ...
  double x = 0, y = 0;  // the connection point, millimetres
  bool hidden = false;
  int unit = 0;  // 0: in every unit
  int line = 0;
  std::vector<std::string> alternates;  // "name type" of each alternate function
};

struct KicadSymbol {
  std::string name;
  int line = 0;
  std::vector<std::pair<std::string, std::string>> properties;  // in file order
  std::vector<KicadPin> pins;
  std::map<int, KicadBox> bodies;  // graphics per unit; 0: drawn in every unit
  int units = 1;
  bool power = false;
  std::string extends;  // the parent as written; resolved already

  const std::string* Property(std::string_view key) const;
};

struct KicadSymbolLibrary {
  bool read = false;  // the file was a symbol library of a known version
  std::vector<KicadSymbol> symbols;
  FormatIssues issues;
};

// The format versions read: KiCad 6 (20200126) up to KiCad 9 (20241209).
inline constexpr long kFirstSymbolVersion = 20200126;
inline constexpr long kLastSymbolVersion = 20241209;

class SExprTree;

// Reads the library in text; file names it in the issues. scratch: a tree whose memory the
// read reuses (one per thread, kept from file to file), so that an import of hundreds of files
// does not allocate and fault in a tree's memory for each; without it a tree of its own.
KicadSymbolLibrary ReadKicadSymbolLibrary(const std::string& file, std::string_view text,
                                          SExprTree* scratch = nullptr);
