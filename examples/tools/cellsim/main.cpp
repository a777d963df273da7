// cellsim: a stand-in for the suite's library simulation tool, for tests and demonstrations.
//
//   cellsim -libdir FOLDER -lib LIB [-cell CELL...] -clean (-wrapperview | -mapview) VIEW...
//           (-sim OFF | -vlogmodeldir default | -vlogmodeldir DIR [-vlogudpdir DIR] |
//            -vloptions FILE)
//
// Checks each part of FOLDER/LIB (or the cells named) in the current directory: the netlist
// step compares each named wrapper view's module ports (or map view's symbol pins) with the
// symbol's pins; the simulation step (not with -sim OFF) looks up every module a wrapper
// instantiates in the Verilog models. Writes finalstatus.rep, cellsim_summary.rep and, for
// parts that fail, logs in wrapper_error_log/, map_error_log/ and
// sim_error_log/QelLog_<LIB>Sim/. See docs/simulation.md.
#include <iostream>
#include <string>
#include <vector>

#include "SimulationRun.h"

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  std::string error;
  const auto options = ParseSimulationOptions(words, error);
  if (!options) {
    std::cerr << "cellsim: " << error << "\n";
    return 2;
  }
  return RunSimulation(*options, std::cout);
}
