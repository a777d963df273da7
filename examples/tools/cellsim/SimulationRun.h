// The stand-in simulator's work: its options, where the Verilog models are, the netlist and
// simulation checks of each part, and the reports it leaves in its working directory.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct SimulationOptions {
  std::string libdir;
  std::string library;
  std::vector<std::string> cells;  // empty: every cell of the library
  bool wrapperViews = true;        // -wrapperview, else -mapview
  std::vector<std::string> views;
  bool simulate = true;     // false after "-sim OFF"
  std::string modelSource;  // "default", a folder, or "" with -vloptions
  std::string udpDir;
  std::string optionsFile;
};

// The options, or the reason they cannot be used.
std::optional<SimulationOptions> ParseSimulationOptions(const std::vector<std::string>& words,
                                                        std::string& error);

// Runs the checks, printing progress to out, and writes finalstatus.rep, cellsim_summary.rep
// and the error logs into the current directory. Returns the process's exit status.
int RunSimulation(const SimulationOptions& options, std::ostream& out);
