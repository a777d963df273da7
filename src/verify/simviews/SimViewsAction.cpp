#include "verify/simviews/SimViewsAction.h"

#include "base/ArgumentQuoting.h"

std::string SimViewsActionOption(SimViewsAction action, const std::string& view) {
  switch (action) {
    case SimViewsAction::NewVerilogWrapper:
      return " -newVerilogWrapper junk";
    case SimViewsAction::NewVerilogMapFile:
      return " -newVerilogMapFile junk";
    case SimViewsAction::OpenVerilog:
      return " -openVerilog " + QuoteArgumentIfNeeded(view);
    case SimViewsAction::NewVhdlWrapper:
      return " -newVhdlWrapper junk";
    case SimViewsAction::NewVhdlMapFile:
      return " -newVhdlMapFile junk";
    case SimViewsAction::OpenVhdl:
      return " -openVhdl " + QuoteArgumentIfNeeded(view);
  }
  return "";
}

std::string SimViewsMissingText(const SimViewsRequest& request) {
  if (request.library.empty()) return kSimViewsNoLibrary;
  if (request.cell.empty()) return kSimViewsNoCell;
  if (request.view.empty()) {
    if (request.action == SimViewsAction::OpenVerilog) return kSimViewsNoVerilogView;
    if (request.action == SimViewsAction::OpenVhdl) return kSimViewsNoVhdlView;
  }
  return "";
}

std::string SimViewsArguments(const SimViewsRequest& request) {
  return " -proj " + QuoteArgument(request.projectFile) + " -lib " +
         QuoteArgumentIfNeeded(request.library) + " -cell " + QuoteArgumentIfNeeded(request.cell) +
         SimViewsActionOption(request.action, request.view);
}
