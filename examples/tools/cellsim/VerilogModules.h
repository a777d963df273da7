// Just enough Verilog for the stand-in simulator: the modules and UDPs (primitives) a file
// defines, with their port lists and the modules each module instantiates. Comments are
// skipped; anything else it does not know is ignored.
#pragma once

#include <string>
#include <vector>

struct VerilogModule {
  std::string name;
  bool primitive = false;              // a UDP ("primitive ... endprimitive")
  std::vector<std::string> ports;      // in header order
  std::vector<std::string> instances;  // the module names it instantiates, in order
};

struct VerilogFile {
  bool read = false;  // the file could be opened
  std::vector<VerilogModule> modules;
};

VerilogFile ReadVerilogFile(const std::string& path);
