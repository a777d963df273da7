#include "PartChecks.h"

#include <algorithm>
#include <optional>

#include "libformat/PackageView.h"
#include "libformat/SymbolView.h"
#include "libformat/ViewType.h"

namespace {

class PartReport {
 public:
  PartReport(std::string cell, const std::set<std::string>& selected, const RuleSet& rules)
      : cell_(std::move(cell)), selected_(selected), rules_(rules) {}

  bool Wants(const std::string& rule) const { return selected_.count(rule) != 0; }
  void Add(const std::string& rule, const std::string& text) {
    if (!Wants(rule)) return;
    const auto it = rules_.severity.find(rule);
    findings_.push_back(
        {cell_, rule, it == rules_.severity.end() ? Severity::Error : it->second, text});
  }
  void Add(const std::string& rule, Severity severity, const std::string& text) {
    findings_.push_back({cell_, rule, severity, text});
  }
  void AddIssues(const FormatIssues& issues) {
    for (const FormatIssue& issue : issues) Add("format", Severity::Warning, issue.ToString());
  }
  std::vector<Finding> Take() { return std::move(findings_); }

 private:
  std::string cell_;
  const std::set<std::string>& selected_;
  const RuleSet& rules_;
  std::vector<Finding> findings_;
};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

void CheckOrigin(const SymbolView& symbol, PartReport& report) {
  if (!symbol.hasOrigin || !symbol.hasExtent) {
    report.Add("origin_non_centered", "symbol has no origin or no extent");
  } else if (!symbol.IsOriginCentred()) {
    report.Add("origin_non_centered",
               "origin (" + std::to_string(symbol.originX) + ", " + std::to_string(symbol.originY) +
                   ") is not the centre of the extent (" + std::to_string(symbol.xMin) + ", " +
                   std::to_string(symbol.yMin) + ", " + std::to_string(symbol.xMax) + ", " +
                   std::to_string(symbol.yMax) + ")");
  }
}

void CheckTristateLoads(const PackageView& package, PartReport& report) {
  for (const PhysicalPart& part : package.physicalParts) {
    for (const PackagePin& pin : part.pins) {
      if (pin.type != "tristate") continue;
      const std::string where = "tristate pin " + pin.name + " of " + part.name;
      if (!pin.outputLoad) report.Add("Tristatepin_output_load", where + " has no output load");
      if (!pin.inputLoad) report.Add("Tristatepin_input_load", where + " has no input load");
    }
  }
}

void CheckProperties(const PackageView& package, PartReport& report) {
  for (const PhysicalPart& part : package.physicalParts) {
    for (const std::string& name : MandatoryProperties()) {
      if (!package.Property(part, name)) {
        report.Add("prop_present", part.name + " lacks property " + name);
      }
    }
  }
}

void CheckPinLists(const SymbolView& symbol, const PackageView& package, PartReport& report) {
  std::vector<std::string> symbolPins;
  for (const SymbolPin& pin : symbol.pins) symbolPins.push_back(pin.name);
  for (const PhysicalPart& part : package.physicalParts) {
    std::vector<std::string> partPins;
    for (const PackagePin& pin : part.pins) partPins.push_back(pin.name);
    for (const std::string& pin : symbolPins) {
      if (!Contains(partPins, pin))
        report.Add("body_to_physical_check", "symbol pin " + pin + " is missing in " + part.name);
    }
    for (const std::string& pin : partPins) {
      if (!Contains(symbolPins, pin))
        report.Add("physical_to_body_check", part.name + " pin " + pin + " is not a symbol pin");
    }
  }
}

// The first symbol view (views come in name order) that holds a symbol file.
std::optional<SymbolViewResult> ReadFirstSymbol(const std::string& cellDirectory,
                                                const std::vector<std::string>& views) {
  for (const std::string& view : views) {
    if (!ViewMatchesType(view, kSymbolViews)) continue;
    SymbolViewResult result = ReadSymbolView(cellDirectory + "/" + view + "/" + kSymbolFileName);
    if (result.read) return result;
  }
  return std::nullopt;
}

}  // namespace

std::vector<Finding> CheckPart(const std::string& cell, const std::string& cellDirectory,
                               const std::vector<std::string>& views,
                               const std::set<std::string>& selected, const RuleSet& rules) {
  PartReport report(cell, selected, rules);
  const std::optional<SymbolViewResult> symbol = ReadFirstSymbol(cellDirectory, views);
  std::optional<PackageViewResult> package;
  if (Contains(views, "package")) {
    package = ReadPackageView(cellDirectory + "/package/" + kPackageFileName);
    if (!package->read) package.reset();
  }
  if (symbol) report.AddIssues(symbol->issues);
  if (package) report.AddIssues(package->issues);

  const bool symbolRules = report.Wants("origin_non_centered");
  const bool packageRules = report.Wants("prop_present") ||
                            report.Wants("Tristatepin_output_load") ||
                            report.Wants("Tristatepin_input_load");
  const bool bothRules = report.Wants("body_file_namechipsprt_cross_check") ||
                         report.Wants("body_to_physical_check") ||
                         report.Wants("physical_to_body_check");
  if (!symbol && (symbolRules || bothRules))
    report.Add("views", Severity::Oversight, "no symbol view: its rules were not checked");
  if (!package && (packageRules || bothRules))
    report.Add("views", Severity::Oversight, "no package view: its rules were not checked");

  if (symbol) CheckOrigin(symbol->symbol, report);
  if (package) {
    CheckTristateLoads(package->package, report);
    CheckProperties(package->package, report);
  }
  if (symbol && package) {
    if (symbol->symbol.name != package->package.symbolName) {
      report.Add("body_file_namechipsprt_cross_check",
                 "package names symbol \"" + package->package.symbolName +
                     "\" but the symbol view is \"" + symbol->symbol.name + "\"");
    }
    CheckPinLists(symbol->symbol, package->package, report);
  }
  return report.Take();
}
