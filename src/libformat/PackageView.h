// Reading a package view file ("package.pkg"): the part's physical parts with their pins,
// properties, pin loads and aliases. Standard C++ only.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "libformat/FormatIssue.h"

struct PackagePin {
  std::string name;
  std::string number;
  std::string type;  // input, output, bidir, tristate, opencollector, power, passive
  std::optional<double> inputLoad;
  std::optional<double> outputLoad;
  int line = 0;
};

using PropertyList = std::vector<std::pair<std::string, std::string>>;

struct PhysicalPart {
  std::string name;
  PropertyList properties;  // its own properties, in file order
  std::vector<PackagePin> pins;
  int line = 0;
};

struct PackageView {
  std::string name;
  std::string symbolName;
  std::vector<std::string> aliases;
  PropertyList commonProperties;  // given before the first physical part
  std::vector<PhysicalPart> physicalParts;

  // A property of a physical part: its own value, else the common one; nullopt when absent.
  std::optional<std::string> Property(const PhysicalPart& part, const std::string& name) const;
};

struct PackageViewResult {
  bool read = false;  // the file could be opened
  PackageView package;
  FormatIssues issues;
};

inline constexpr const char* kPackageFileName = "package.pkg";

// The properties every physical part must have: PART_NAME, CLASS, JEDEC_TYPE.
const std::vector<std::string>& MandatoryProperties();

// True for the pin types listed in PackagePin::type.
bool IsKnownPinType(const std::string& type);

PackageViewResult ReadPackageView(const std::string& file);
