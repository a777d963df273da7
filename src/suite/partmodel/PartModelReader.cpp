#include "suite/partmodel/PartModelReader.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "libformat/PackageView.h"
#include "libformat/SymbolView.h"
#include "libformat/ViewType.h"
#include "model/BException.h"

namespace fs = std::filesystem;

namespace {

std::string numberText(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

void report(const FormatIssues& issues, BMesgList* problems) {
  if (!problems) return;
  for (const FormatIssue& issue : issues) problems->add(issue.ToString());
}

std::unique_ptr<EPin> makePin(const PackagePin& source) {
  auto pin = std::make_unique<EPin>(source.name, EPin::pinTypeFromText(source.type));
  pin->setPowerPin(source.type == "power");
  if (!source.number.empty()) pin->setProperty("NUMBER", source.number);
  if (source.inputLoad) pin->setProperty("INPUT_LOAD", numberText(*source.inputLoad));
  if (source.outputLoad) pin->setProperty("OUTPUT_LOAD", numberText(*source.outputLoad));
  return pin;
}

void fillChips(const PackageView& package, const std::string& cell, EChipsData& chips) {
  ELogPart* logical =
      chips.add(std::make_unique<ELogPart>(package.name.empty() ? cell : package.name));
  for (const PhysicalPart& source : package.physicalParts) {
    EPhysPart* physical = logical->add(std::make_unique<EPhysPart>(source.name));
    chips.getCurrentPhysPart() = physical;
    for (const auto& [name, value] : source.properties) physical->add(name, value);
    // A common property applies where the physical part does not give its own.
    for (const auto& [name, value] : package.commonProperties)
      if (!physical->getPropList().count(name)) physical->add(name, value);
    for (const std::string& alias : package.aliases) physical->addAlias(alias);
    for (const PackagePin& pin : source.pins) physical->add(makePin(pin));
  }
  chips.getCurrentPhysPart() = nullptr;
}

std::vector<fs::path> symbolFiles(const fs::path& cell) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator entry(cell, error), end; !error && entry != end;
       entry.increment(error)) {
    std::string view = entry->path().filename().string();
    if (entry->is_directory(error) && ViewMatchesType(view, kSymbolViews) &&
        fs::is_regular_file(entry->path() / kSymbolFileName, error))
      files.push_back(entry->path() / kSymbolFileName);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::unique_ptr<ESymbolData> makeSymbol(const SymbolView& view, const std::string& file,
                                        int sequence) {
  auto symbol = std::make_unique<ESymbolData>();
  symbol->setSymbolName(view.name);
  symbol->setSymbolFileName(file);
  symbol->setSymbolSeq(sequence);
  for (const SymbolPin& source : view.pins) {
    auto pin = std::make_unique<EPin>(source.name);
    pin->setProperty("X", std::to_string(source.x));
    pin->setProperty("Y", std::to_string(source.y));
    symbol->getConnections().SetAt(source.name, pin.release());
  }
  return symbol;
}

}  // namespace

void ReadPartModel(const std::string& library, const std::string& cellDirectory, EChipsData& chips,
                   EPart& part, BMesgList* problems, PartSourceViews* views) {
  chips.initialize();
  part.getSymbolDataList().RemoveAll();
  const fs::path cell = fs::path(cellDirectory).lexically_normal();
  const std::string cellName =
      (cell.has_filename() ? cell.filename() : cell.parent_path().filename()).string();
  part.getPartName() = cellName;
  part.getLibName() = library;

  const fs::path packageFile = cell / "package" / kPackageFileName;
  PackageViewResult package = ReadPackageView(packageFile.string());
  if (!package.read)
    throw BException("Part " + cellName + " of library " + library +
                         " has no package view: " + packageFile.string() + " cannot be read",
                     packageFile.string());
  report(package.issues, problems);
  fillChips(package.package, cellName, chips);
  if (views) {
    views->package = std::move(package.package);
    views->symbols.clear();
  }

  int sequence = 0;
  for (const fs::path& file : symbolFiles(cell)) {
    SymbolViewResult symbol = ReadSymbolView(file.string());
    report(symbol.issues, problems);
    if (!symbol.read) continue;
    part.add(makeSymbol(symbol.symbol, file.string(), sequence++));
    if (views) views->symbols.push_back(std::move(symbol.symbol));
  }
}
