// The checks of the stand-in packaging tools, done for real in a simple way on our part
// format: a part instantiates when its symbol and package views agree on the symbol; it
// packages when every symbol pin has a pin in each physical part; up to the board, when each
// physical part's footprint (its JEDEC_TYPE) is a ".psm" file on the footprint search path
// whose pads hold every pin number of the part. Package pins that the symbol does not show,
// and listed pads that no pin uses, are reported as warnings. Standard C++ only.
#pragma once

#include <string>
#include <vector>

// One thing the check found: a stable rule name, what it is about, and the text for people.
struct PackagingIssue {
  std::string rule;    // "pin_missing_in_package", "footprint_missing", ...
  std::string object;  // the pin, footprint or view, "" when none
  std::string text;
};

struct PartPackagingResult {
  std::vector<std::string> notes;        // what was checked, in order
  std::vector<PackagingIssue> warnings;  // the part still passes
  std::vector<PackagingIssue> errors;    // the part fails
};

// Checks the part in cellDirectory. With upToBoard, footprints are looked up in
// footprintFolders (in order).
PartPackagingResult CheckPartPackaging(const std::string& cellDirectory, bool upToBoard,
                                       const std::vector<std::string>& footprintFolders);

// The cell directories of a library directory, in name order (hidden ones left out).
std::vector<std::string> LibraryCells(const std::string& libraryDirectory);

// The cell of the library that a name given on a command line means: a cell directory of
// that name, or one whose on-disk (mapped, lower-cased) name it is. "" when none.
std::string FindCell(const std::vector<std::string>& cells, const std::string& name);
