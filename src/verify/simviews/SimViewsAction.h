// The six actions of the simulation views editor and the part-authoring tool's argument text
// for each. Standard C++ only; pure functions.
#pragma once

#include <string>

enum class SimViewsAction {
  NewVerilogWrapper,
  NewVerilogMapFile,
  OpenVerilog,
  NewVhdlWrapper,
  NewVhdlMapFile,
  OpenVhdl,
};

struct SimViewsRequest {
  std::string projectFile;
  std::string library;
  std::string cell;
  SimViewsAction action = SimViewsAction::NewVerilogWrapper;
  std::string view;  // the existing view to open (OpenVerilog, OpenVhdl)
};

inline constexpr const char* kSimViewsNoLibrary = "Please select a library";
inline constexpr const char* kSimViewsNoCell = "Please select a cell";
inline constexpr const char* kSimViewsNoVerilogView = "Please select a Verilog wrapper/map file";
inline constexpr const char* kSimViewsNoVhdlView = "Please select a VHDL wrapper/map file";

// The option of an action and its operand: " -newVerilogWrapper junk" ("junk" is the
// placeholder operand the tool expects after each option that creates a new view), or
// " -openVerilog <view>".
std::string SimViewsActionOption(SimViewsAction action, const std::string& view);

// The message that stops OK for this request ("" when it can go): no library, no cell, or
// no view for an open action, in that order.
std::string SimViewsMissingText(const SimViewsRequest& request);

// ` -proj "<project>" -lib <lib> -cell <cell>` and the action's option. Names go bare and
// are quoted only when they would split.
std::string SimViewsArguments(const SimViewsRequest& request);
