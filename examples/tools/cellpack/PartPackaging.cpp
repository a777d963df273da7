#include "PartPackaging.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "base/MapLibraryName.h"
#include "libformat/FootprintPad.h"
#include "libformat/PackageView.h"
#include "libformat/SymbolView.h"

namespace fs = std::filesystem;

namespace {

// The first symbol view directory of a cell ("sym" or "sym_N"), "" when it has none.
std::string SymbolViewDirectory(const std::string& cellDirectory) {
  std::vector<std::string> views;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(cellDirectory, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(error) && (name == "sym" || name.rfind("sym_", 0) == 0))
      views.push_back(entry.path().string());
  }
  std::sort(views.begin(), views.end());
  return views.empty() ? "" : views.front();
}

bool FootprintFound(const std::string& footprint, const std::vector<std::string>& folders,
                    std::string& where) {
  std::error_code error;
  for (const std::string& folder : folders) {
    const fs::path file = fs::path(folder) / (footprint + ".psm");
    if (fs::is_regular_file(file, error)) {
      where = file.string();
      return true;
    }
  }
  return false;
}

// Every pin number of the physical part must be a pad of its footprint; a listed pad that no
// pin uses is worth a warning (a mounting or thermal pad may be meant so).
void CheckPinsAgainstPads(const PhysicalPart& part, const std::string& footprint,
                          const std::string& file, PartPackagingResult& result) {
  const auto pads = ReadFootprintPadNumbers(file);
  if (!pads) {
    result.errors.push_back({"footprint_unreadable", footprint,
                             "netrev " + part.name + ": footprint " + file + " cannot be read"});
    return;
  }
  std::set<std::string> used;
  for (const PackagePin& pin : part.pins) {
    used.insert(pin.number);
    if (!pads->numbers.count(pin.number))
      result.errors.push_back({"pin_without_pad", pin.name,
                               "netrev " + part.name + ": pin " + pin.name + " (number " +
                                   pin.number + ") has no pad in footprint " + footprint});
  }
  // Only a footprint that lists its pads says which it has; "pads N" alone may be a gate of
  // a package whose other pins the part leaves out.
  for (const std::string& pad : pads->numbers)
    if (pads->listed && !used.count(pad))
      result.warnings.push_back({"pad_without_pin", pad,
                                 "netrev " + part.name + ": pad " + pad + " of footprint " +
                                     footprint + " is used by no pin"});
}

}  // namespace

PartPackagingResult CheckPartPackaging(const std::string& cellDirectory, bool upToBoard,
                                       const std::vector<std::string>& footprintFolders) {
  PartPackagingResult result;
  const std::string symbolDirectory = SymbolViewDirectory(cellDirectory);
  if (symbolDirectory.empty()) {
    result.errors.push_back(
        {"symbol_view_missing", "", "cannot instantiate: the part has no symbol view"});
    return result;
  }
  const SymbolViewResult symbol = ReadSymbolView(symbolDirectory + "/" + kSymbolFileName);
  const PackageViewResult package = ReadPackageView(cellDirectory + "/package/" + kPackageFileName);
  if (!symbol.read)
    result.errors.push_back(
        {"symbol_view_unreadable", "", "cannot instantiate: the symbol view cannot be read"});
  if (!package.read)
    result.errors.push_back(
        {"package_view_missing", "", "cannot instantiate: the part has no package view"});
  if (!result.errors.empty()) return result;
  if (symbol.symbol.name != package.package.symbolName) {
    result.errors.push_back({"symbol_name_mismatch", symbol.symbol.name,
                             "cannot instantiate: the symbol view is " + symbol.symbol.name +
                                 ", the package view expects " + package.package.symbolName});
    return result;
  }
  result.notes.push_back("instantiated " + symbol.symbol.name + " with " +
                         std::to_string(symbol.symbol.pins.size()) + " pins");
  if (package.package.physicalParts.empty())
    result.errors.push_back(
        {"physical_part_missing", "", "cannot package: the package view has no physical part"});

  std::set<std::string> symbolPins;
  for (const SymbolPin& pin : symbol.symbol.pins) symbolPins.insert(pin.name);
  for (const PhysicalPart& part : package.package.physicalParts) {
    std::set<std::string> packagePins;
    for (const PackagePin& pin : part.pins) packagePins.insert(pin.name);
    for (const std::string& pin : symbolPins) {
      if (!packagePins.count(pin))
        result.errors.push_back(
            {"pin_missing_in_package", pin,
             "cannot package " + part.name + ": symbol pin " + pin + " has no package pin"});
    }
    for (const std::string& pin : packagePins) {
      if (!symbolPins.count(pin))
        result.warnings.push_back(
            {"pin_missing_in_symbol", pin,
             "package pin " + pin + " of " + part.name + " is not on the symbol"});
    }
    if (!upToBoard) continue;
    const auto footprint = package.package.Property(part, "JEDEC_TYPE");
    std::string where;
    if (!footprint) {
      result.errors.push_back({"footprint_missing", part.name,
                               "netrev " + part.name + ": no JEDEC_TYPE, no footprint"});
    } else if (!FootprintFound(*footprint, footprintFolders, where)) {
      result.errors.push_back({"footprint_missing", *footprint,
                               "netrev " + part.name + ": footprint " + *footprint +
                                   " is not on the footprint search path"});
    } else {
      result.notes.push_back("netrev " + part.name + ": footprint " + where);
      CheckPinsAgainstPads(part, *footprint, where, result);
    }
  }
  if (result.errors.empty()) result.notes.push_back("packaged");
  return result;
}

std::vector<std::string> LibraryCells(const std::string& libraryDirectory) {
  std::vector<std::string> cells;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(libraryDirectory, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(error) && !name.empty() && name.front() != '.') cells.push_back(name);
  }
  std::sort(cells.begin(), cells.end());
  return cells;
}

std::string FindCell(const std::vector<std::string>& cells, const std::string& name) {
  for (const std::string& cell : cells)
    if (cell == name) return cell;
  for (const std::string& cell : cells)
    if (MapLibraryName(cell) == name) return cell;
  return "";
}
