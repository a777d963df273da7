#include "libformat/ViewType.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool InFamily(const std::string& lowerName, const std::string& family) {
  return lowerName == family || lowerName.rfind(family + "_", 0) == 0;
}

}  // namespace

bool IsKnownViewType(int viewType) {
  return viewType == kAllViews || viewType == kSymbolViews || viewType == kVhdlViews ||
         viewType == kVerilogViews;
}

bool ViewMatchesType(const std::string& viewName, int viewType) {
  const std::string name = Lower(viewName);
  switch (viewType) {
    case kAllViews:
      return true;
    case kSymbolViews:
      return InFamily(name, "sym");
    case kVhdlViews:
      return InFamily(name, "vhdl");
    case kVerilogViews:
      return InFamily(name, "verilog");
    default:
      return false;
  }
}
