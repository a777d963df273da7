// Reading a KiCad footprint (".kicad_mod": "footprint" of format version 6 and later, or the
// older "module") into its name, attributes and pads, and writing it as our footprint file
// (docs/library-format.md, "Footprint files"). Standard C++ only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "libformat/FormatIssue.h"

struct KicadPad {
  std::string number;                          // "" for a pad without a number
  std::string shape;                           // rect, circle, oval, roundrect, trapezoid, custom
  double x = 0, y = 0, width = 0, height = 0;  // millimetres
  int line = 0;
};

struct KicadFootprint {
  bool read = false;  // the file was a footprint of a known version
  std::string name;
  std::vector<std::string> attributes;  // smd, through_hole, exclude_from_bom, ...
  std::vector<KicadPad> pads;
  FormatIssues issues;
};

inline constexpr long kFirstFootprintVersion = 20200000;
inline constexpr long kLastFootprintVersion = 20241229;

class SExprTree;

// Reads the footprint in text; file names it in the issues. scratch: a tree whose memory the
// read reuses, as for ReadKicadSymbolLibrary.
KicadFootprint ReadKicadFootprint(const std::string& file, std::string_view text,
                                  SExprTree* scratch = nullptr);

// The footprint file (.dra and .psm alike) of footprint under the name fileName (encoded).
std::string FootprintFileText(const KicadFootprint& footprint, const std::string& fileName,
                              const std::string& sourceFile);
