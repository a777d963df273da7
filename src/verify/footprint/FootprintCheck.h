// The syntax check of a footprint file (docs/library-format.md, "Footprint files"): what the
// layout editor's viewer does with a verify file that says "check symbol", and what
// `kestra verify footprint` reports. Standard C++ only.
#pragma once

#include <string>
#include <vector>

struct FootprintCheck {
  bool read = false;                  // the file could be read
  std::vector<std::string> findings;  // "line N: ..." or a whole-file finding, in file order
  bool truncated = false;             // more than kMaxFootprintFindings were found
};

// A file of nothing but faults must not exhaust memory: the check keeps this many findings.
inline constexpr std::size_t kMaxFootprintFindings = 10000;

// Checks the file at path; expectedName is the name the file is listed under (its file name
// without the extension), which the "footprint" statement must give (ignoring ASCII case).
FootprintCheck CheckFootprintFile(const std::string& path, const std::string& expectedName);
