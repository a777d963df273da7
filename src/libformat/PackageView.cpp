#include "libformat/PackageView.h"

#include <algorithm>

#include "libformat/LineWords.h"
#include "libformat/ViewFileLines.h"

std::optional<std::string> PackageView::Property(const PhysicalPart& part,
                                                 const std::string& name) const {
  for (const PropertyList* list : {&part.properties, &commonProperties}) {
    for (const auto& [key, value] : *list) {
      if (key == name) return value;
    }
  }
  return std::nullopt;
}

const std::vector<std::string>& MandatoryProperties() {
  static const std::vector<std::string> names{"PART_NAME", "CLASS", "JEDEC_TYPE"};
  return names;
}

bool IsKnownPinType(const std::string& type) {
  static const std::vector<std::string> types{"input",         "output", "bidir",  "tristate",
                                              "opencollector", "power",  "passive"};
  return std::find(types.begin(), types.end(), type) != types.end();
}

namespace {

class PackageReader {
 public:
  explicit PackageReader(PackageViewResult& result) : result_(result) {}

  void Line(const ViewLine& line) {
    const std::string& key = line.words[0];
    if (key == "package") {
      ReadName(line, hasName_, result_.package.name);
    } else if (key == "symbol") {
      ReadName(line, hasSymbol_, result_.package.symbolName);
    } else if (key == "alias") {
      if (line.words.size() < 2) line.Report(issues(), "\"alias\" needs at least one name");
      auto& aliases = result_.package.aliases;
      aliases.insert(aliases.end(), line.words.begin() + 1, line.words.end());
    } else if (key == "property") {
      ReadProperty(line);
    } else if (key == "physical") {
      if (current_ != nullptr) {
        line.Report(issues(), "\"physical\" inside the block of \"" + current_->name +
                                  "\" (missing \"end\")");
      }
      if (!line.ExpectWords(2, issues())) return;
      result_.package.physicalParts.push_back({line.words[1], {}, {}, line.number});
      current_ = &result_.package.physicalParts.back();
    } else if (key == "end") {
      if (current_ == nullptr) line.Report(issues(), "\"end\" without \"physical\"");
      current_ = nullptr;
    } else if (key == "pin") {
      ReadPin(line);
    } else if (key == "load") {
      ReadLoad(line);
    } else {
      line.Report(issues(), "unknown statement \"" + key + "\"");
    }
  }

  void Finish(const std::string& file) {
    if (current_ != nullptr) {
      issues().push_back(
          {file, current_->line, "physical part \"" + current_->name + "\" has no \"end\""});
    }
    if (!hasName_) issues().push_back({file, 0, "no \"package\" statement"});
  }

 private:
  FormatIssues& issues() { return result_.issues; }

  void ReadName(const ViewLine& line, bool& seen, std::string& name) {
    if (line.FirstTime(seen, issues()) && line.ExpectWords(2, issues())) {
      name = line.words[1];
      seen = true;
    }
  }

  void ReadProperty(const ViewLine& line) {
    if (line.words.size() < 3) {
      line.Report(issues(), "\"property\" needs a name and a value");
      return;
    }
    PropertyList& list = current_ ? current_->properties : result_.package.commonProperties;
    const std::string& name = line.words[1];
    if (std::any_of(list.begin(), list.end(), [&](const auto& p) { return p.first == name; })) {
      line.Report(issues(), "property \"" + name + "\" is given twice; this line is ignored");
      return;
    }
    list.emplace_back(name, RestAfterFirstWords(line.text, 2));
  }

  bool InsideBlock(const ViewLine& line) {
    if (current_ != nullptr) return true;
    line.Report(issues(), "\"" + line.words[0] + "\" outside a \"physical\" block");
    return false;
  }

  void ReadPin(const ViewLine& line) {
    if (!InsideBlock(line) || !line.ExpectWords(4, issues())) return;
    const std::string& type = line.words[3];
    if (!IsKnownPinType(type)) {
      line.Report(issues(), "unknown pin type \"" + type + "\"");
      return;
    }
    if (FindPin(line.words[1]) != nullptr) {
      line.Report(issues(), "pin \"" + line.words[1] + "\" is declared twice; ignored");
      return;
    }
    current_->pins.push_back({line.words[1], line.words[2], type, {}, {}, line.number});
  }

  void ReadLoad(const ViewLine& line) {
    if (!InsideBlock(line) || !line.ExpectWords(4, issues())) return;
    PackagePin* pin = FindPin(line.words[1]);
    const std::string& direction = line.words[2];
    double value = 0;
    if (pin == nullptr) {
      line.Report(issues(), "load for undeclared pin \"" + line.words[1] + "\"");
    } else if (direction != "input" && direction != "output") {
      line.Report(issues(),
                  "load direction must be \"input\" or \"output\", not \"" + direction + "\"");
    } else if (!ParseNumber(line.words[3], value)) {
      line.Report(issues(), "\"" + line.words[3] + "\" is not a number");
    } else {
      (direction == "input" ? pin->inputLoad : pin->outputLoad) = value;
    }
  }

  PackagePin* FindPin(const std::string& name) {
    for (PackagePin& pin : current_->pins) {
      if (pin.name == name) return &pin;
    }
    return nullptr;
  }

  PackageViewResult& result_;
  PhysicalPart* current_ = nullptr;  // the open block; re-pointed after every push_back
  bool hasName_ = false;
  bool hasSymbol_ = false;
};

}  // namespace

PackageViewResult ReadPackageView(const std::string& file) {
  PackageViewResult result;
  PackageReader reader(result);
  result.read =
      ForEachViewLine(file, result.issues, [&](const ViewLine& line) { reader.Line(line); });
  if (result.read) reader.Finish(file);
  return result;
}
