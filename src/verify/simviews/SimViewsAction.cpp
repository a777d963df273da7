#include "verify/simviews/SimViewsAction.h"

#include "base/QuoteArgument.h"

std::string SimViewsActionOption(SimViewsAction action, const std::string& view) {
  switch (action) {
    case SimViewsAction::NewVerilogWrapper:
      return " -newVerilogWrapper junk";
    case SimViewsAction::NewVerilogMapFile:
      return " -newVerilogMapFile junk";
    case SimViewsAction::OpenVerilog:
      return " -openVerilog " + QuoteIfNeeded(view);
    case SimViewsAction::NewVhdlWrapper:
      return " -newVhdlWrapper junk";
    case SimViewsAction::NewVhdlMapFile:
      return " -newVhdlMapFile junk";
    case SimViewsAction::OpenVhdl:
      return " -openVhdl " + QuoteIfNeeded(view);
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
         QuoteIfNeeded(request.library) + " -cell " + QuoteIfNeeded(request.cell) +
         SimViewsActionOption(request.action, request.view);
}
