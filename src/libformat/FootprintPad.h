// The pad statements of a footprint file (docs/library-format.md, "Footprint files"):
// "pad NUMBER X Y [SHAPE WIDTH HEIGHT]" and "padpart NUMBER X Y [SHAPE WIDTH HEIGHT]", where
// NUMBER is a whole number, a pad name such as A1 or EP, or "-" for a pad without a number,
// and "padpart" is one more piece of a pad given before (a thermal pad in several pieces).
// Standard C++ only.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

struct FootprintPad {
  std::string number;  // "" for a pad without a number
  bool piece = false;  // a "padpart" statement
  double x = 0, y = 0;
};

// True for the keywords of pad statements.
bool IsPadKeyword(const std::string& keyword);

// The pad of a statement's words (the keyword first); false when they are malformed.
bool ParsePadStatement(const std::vector<std::string>& words, FootprintPad& pad);

struct FootprintPadNumbers {
  std::set<std::string> numbers;  // each once
  bool listed = false;            // from pad statements, not implied by "pads N"
};

// The pad numbers and names of a footprint file (1 to N from "pads N" when the file has no
// pad statements); nullopt when it cannot be read.
std::optional<FootprintPadNumbers> ReadFootprintPadNumbers(const std::string& path);
