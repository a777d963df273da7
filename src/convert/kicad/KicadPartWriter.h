// A KiCad symbol as one cell of our part format (docs/library-format.md, mappings in
// docs/real-libraries.md): a symbol view "sym_N/symbol.sym" per unit with the body extent and
// the pins of that unit, and a "package/package.pkg" with the properties and every pin.
// Standard C++ only.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "convert/kicad/KicadSymbolLibrary.h"

struct ConvertedPart {
  std::string cell;  // the cell folder's name: the symbol's name, encoded
  std::vector<std::pair<std::string, std::string>> files;  // path inside the cell, content
  std::string footprint;  // the Footprint property ("LIB:NAME"), "" when none
};

// Millimetres to whole mils, halves away from zero (1 mil = 0.0254 mm).
int MillimetresToMils(double millimetres);

// Our pin type for KiCad's electrical type; "" for a type KiCad does not have.
std::string MapPinType(const std::string& kicadType);

// The footprint name of a Footprint property "LIB:NAME" (all of it when there is no ":").
std::string FootprintName(const std::string& property);

ConvertedPart ConvertKicadSymbol(const KicadSymbol& symbol, const std::string& sourceFile);
