// The texts of new simulation views, made from a part's symbol pins (and the pin types of its
// package when it has one): a Verilog wrapper module, a VHDL entity, a pin map. Standard C++.
#pragma once

#include <string>
#include <vector>

struct WrapperPort {
  std::string pin;        // the symbol's pin name
  std::string port;       // a legal Verilog/VHDL identifier for it
  std::string direction;  // "input", "output" or "inout"
};

// One port per pin, in symbol order; names made legal ("IN+" -> "in_p") and unique; the
// direction from the package's pin type (input; output, tristate, opencollector -> output;
// anything else or unknown -> inout).
std::vector<WrapperPort> PortsFor(const std::vector<std::string>& pins,
                                  const std::vector<std::pair<std::string, std::string>>& pinTypes);

// A legal module or entity name for a cell ("7400" -> "c7400").
std::string ModuleName(const std::string& cell);

std::string VerilogWrapperText(const std::string& cell, const std::vector<WrapperPort>& ports);
std::string VhdlWrapperText(const std::string& cell, const std::vector<WrapperPort>& ports);
std::string PinMapText(const std::vector<WrapperPort>& ports);
