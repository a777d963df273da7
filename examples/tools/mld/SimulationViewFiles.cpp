#include "SimulationViewFiles.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

std::string Identifier(const std::string& name) {
  std::string id;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u)) {
      id += static_cast<char>(std::tolower(u));
    } else if (c == '+') {
      id += "_p";
    } else if (c == '-') {
      id += "_n";
    } else {
      id += '_';
    }
  }
  if (id.empty() || std::isdigit(static_cast<unsigned char>(id.front()))) id = "p" + id;
  return id;
}

std::string DirectionOf(const std::string& type) {
  if (type == "input") return "input";
  if (type == "output" || type == "tristate" || type == "opencollector") return "output";
  return "inout";
}

}  // namespace

std::vector<WrapperPort> PortsFor(
    const std::vector<std::string>& pins,
    const std::vector<std::pair<std::string, std::string>>& pinTypes) {
  std::vector<WrapperPort> ports;
  std::set<std::string> taken;
  for (const std::string& pin : pins) {
    std::string port = Identifier(pin);
    for (int n = 2; taken.count(port) != 0; ++n) port = Identifier(pin) + "_" + std::to_string(n);
    taken.insert(port);
    std::string type;
    for (const auto& [name, pinType] : pinTypes) {
      if (name == pin) type = pinType;
    }
    ports.push_back({pin, port, DirectionOf(type)});
  }
  return ports;
}

std::string ModuleName(const std::string& cell) {
  std::string name = Identifier(cell);
  // A cell named by a number ("7400") becomes "c7400" rather than "p7400".
  if (!cell.empty() && std::isdigit(static_cast<unsigned char>(cell.front())))
    name = "c" + name.substr(1);
  return name;
}

std::string VerilogWrapperText(const std::string& cell, const std::vector<WrapperPort>& ports) {
  std::string text = "// " + cell + ": Verilog wrapper, made from the symbol's pins\n";
  text += "module " + ModuleName(cell) + " (";
  for (std::size_t i = 0; i < ports.size(); ++i) text += (i ? ", " : "") + ports[i].port;
  text += ");\n";
  for (const WrapperPort& port : ports) text += "  " + port.direction + " " + port.port + ";\n";
  return text + "endmodule\n";
}

std::string VhdlWrapperText(const std::string& cell, const std::vector<WrapperPort>& ports) {
  std::string text = "library ieee;\nuse ieee.std_logic_1164.all;\n";
  text += "-- " + cell + ": VHDL wrapper, made from the symbol's pins\n";
  const std::string entity = ModuleName(cell);
  text += "entity " + entity + " is\n";
  if (!ports.empty()) {
    text += "  port (";
    for (std::size_t i = 0; i < ports.size(); ++i) {
      const std::string& d = ports[i].direction;
      const std::string mode = d == "input" ? "in" : d == "output" ? "out" : "inout";
      text += (i ? ";\n        " : "") + ports[i].port + " : " + mode + " std_logic";
    }
    text += ");\n";
  }
  text += "end entity;\n\narchitecture wrapper of " + entity + " is\nbegin\nend architecture;\n";
  return text;
}

std::string PinMapText(const std::vector<WrapperPort>& ports) {
  std::string text = "# symbol pin   model port\n";
  for (const WrapperPort& port : ports) {
    // A pin name with a blank is written in double quotes, as in every file of a part.
    const bool quote = port.pin.find_first_of(" \t") != std::string::npos;
    text += (quote ? "\"" + port.pin + "\"" : port.pin) + "  " + port.port + "\n";
  }
  return text;
}
