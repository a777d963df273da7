// The view-type numbers the dialogs pass to the browser and the view families they select.
#pragma once

#include <string>

enum ViewType : int {
  kAllViews = 0,
  kSymbolViews = 6,
  kVhdlViews = 7,
  kVerilogViews = 8,
};

// True for the numbers above.
bool IsKnownViewType(int viewType);

// True when a view directory named viewName belongs to the family of viewType: "sym" or
// "sym_*" for 6, "vhdl" or "vhdl_*" for 7, "verilog" or "verilog_*" for 8 (case-insensitive),
// every view for 0, none for an unknown number.
bool ViewMatchesType(const std::string& viewName, int viewType);
