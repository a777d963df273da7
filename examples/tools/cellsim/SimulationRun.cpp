#include "SimulationRun.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <thread>

#include "VerilogModules.h"
#include "libformat/LineWords.h"
#include "libformat/SymbolView.h"

namespace fs = std::filesystem;

std::optional<SimulationOptions> ParseSimulationOptions(const std::vector<std::string>& words,
                                                        std::string& error) {
  SimulationOptions options;
  bool viewsGiven = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    // The values of an option: the words up to the next option.
    std::vector<std::string> values;
    while (i + 1 < words.size() && (words[i + 1].empty() || words[i + 1][0] != '-')) {
      values.push_back(words[++i]);
    }
    const std::string value = values.empty() ? "" : values.front();
    if (word == "-clean") continue;
    if (word == "-libdir") {
      options.libdir = value;
    } else if (word == "-lib") {
      options.library = value;
    } else if (word == "-cell") {
      options.cells.insert(options.cells.end(), values.begin(), values.end());
    } else if (word == "-wrapperview" || word == "-mapview") {
      options.wrapperViews = word == "-wrapperview";
      options.views = values;
      viewsGiven = true;
    } else if (word == "-sim") {
      options.simulate = value != "OFF";
    } else if (word == "-vlogmodeldir") {
      options.modelSource = value;
    } else if (word == "-vlogudpdir") {
      options.udpDir = value;
    } else if (word == "-vloptions") {
      options.optionsFile = value;
    } else {
      error = "unknown option " + word;
      return std::nullopt;
    }
    if (values.empty() && word != "-cell") {
      error = word + " needs a value";
      return std::nullopt;
    }
  }
  if (options.libdir.empty() || options.library.empty()) {
    error = "-libdir and -lib are required";
  } else if (!viewsGiven || options.views.empty()) {
    error = "-wrapperview or -mapview with at least one view is required";
  } else if (options.simulate && options.modelSource.empty() && options.optionsFile.empty()) {
    error = "-vlogmodeldir or -vloptions is required unless -sim OFF";
  } else {
    return options;
  }
  return std::nullopt;
}

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// What one run finds, by part and log.
struct Findings {
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
};

void WriteLog(const fs::path& file, const std::vector<std::string>& lines) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file);
  for (const std::string& line : lines) out << line << "\n";
}

// The Verilog model search: folders and single files, and the modules and UDPs they define.
struct ModelSearch {
  std::vector<std::string> folders;
  std::vector<std::string> files;
  std::vector<std::string> problems;  // errors: the run cannot simulate
  std::vector<std::string> warnings;
  std::set<std::string> defined;

  void AddFolder(const std::string& folder) { folders.push_back(folder); }

  void Load() {
    std::vector<std::string> sources = files;
    for (const std::string& folder : folders) {
      std::error_code error;
      if (!fs::is_directory(folder, error)) {
        problems.push_back("model folder " + folder + " does not exist");
        continue;
      }
      std::vector<std::string> found;
      for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".v" || ext == ".udp") found.push_back(entry.path().string());
      }
      if (found.empty()) warnings.push_back("model folder " + folder + " holds no .v or .udp file");
      std::sort(found.begin(), found.end());
      sources.insert(sources.end(), found.begin(), found.end());
    }
    for (const std::string& source : sources) {
      const VerilogFile file = ReadVerilogFile(source);
      if (!file.read) problems.push_back("model file " + source + " cannot be read");
      for (const VerilogModule& module : file.modules) defined.insert(module.name);
    }
  }
};

// vlog_model_path.txt: "models FOLDER" and "udps FOLDER" lines (a line with one word names a
// model folder), relative to the library's folder.
void ReadDefaultPaths(const fs::path& library, ModelSearch& search) {
  const fs::path file = library / "vlog_model_path.txt";
  std::ifstream in(file);
  if (!in) {
    search.problems.push_back(file.string() + " does not exist: no default model paths");
    return;
  }
  std::string line;
  while (std::getline(in, line)) {
    const LineWords words = SplitLineWords(line);
    if (words.words.empty()) continue;
    const std::string& folder = words.words.back();
    search.AddFolder(fs::path(folder).is_absolute() ? folder : (library / folder).string());
  }
}

// A simulator options file: "-y FOLDER" model folders and "-v FILE" model files; "+..."
// switches are accepted; anything else is reported as ignored.
void ReadOptionsFile(const std::string& path, ModelSearch& search) {
  std::ifstream in(path);
  if (!in) {
    search.problems.push_back("options file " + path + " cannot be read");
    return;
  }
  const fs::path base = fs::path(path).parent_path();
  std::string line;
  while (std::getline(in, line)) {
    const LineWords words = SplitLineWords(line);
    for (std::size_t i = 0; i < words.words.size(); ++i) {
      const std::string& word = words.words[i];
      if ((word == "-y" || word == "-v") && i + 1 < words.words.size()) {
        const fs::path value = words.words[++i];
        const std::string full = value.is_absolute() ? value.string() : (base / value).string();
        if (word == "-y") {
          search.AddFolder(full);
        } else {
          search.files.push_back(full);
        }
      } else if (!word.empty() && word[0] != '+') {
        search.warnings.push_back("options file " + path + ": ignored " + word);
      }
    }
  }
}

std::vector<std::string> CellsOf(const fs::path& library) {
  std::vector<std::string> cells;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(library, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory() && !name.empty() && name[0] != '.') cells.push_back(name);
  }
  std::sort(cells.begin(), cells.end());
  return cells;
}

std::set<std::string> LowerSet(const std::vector<std::string>& names) {
  std::set<std::string> set;
  for (const std::string& name : names) set.insert(Lower(name));
  return set;
}

// The netlist step of one view: the wrapper's ports (or the map's symbol pins) against the
// symbol's pins, compared without regard to letter case.
std::vector<std::string> CheckNetlist(const SimulationOptions& options, const fs::path& cellDir,
                                      const std::string& cell, const std::string& view,
                                      const std::vector<std::string>& pins) {
  std::vector<std::string> errors;
  const fs::path viewDir = cellDir / view;
  const fs::path wrapper = viewDir / (cell + ".v");
  const VerilogFile verilog = ReadVerilogFile(wrapper.string());
  std::vector<std::string> names;
  std::string what;
  if (options.wrapperViews) {
    if (!verilog.read || verilog.modules.empty()) {
      errors.push_back(cell + " " + view + ": no wrapper module in " + wrapper.string());
      return errors;
    }
    names = verilog.modules.front().ports;
    what = "wrapper " + verilog.modules.front().name;
  } else {
    const fs::path map = viewDir / (cell + ".map");
    std::ifstream in(map);
    if (!in) {
      errors.push_back(cell + " " + view + ": no map file " + map.string());
      return errors;
    }
    const std::set<std::string> ports = verilog.read && !verilog.modules.empty()
                                            ? LowerSet(verilog.modules.front().ports)
                                            : std::set<std::string>{};
    std::string line;
    while (std::getline(in, line)) {
      const LineWords words = SplitLineWords(line);
      if (words.words.empty()) continue;
      names.push_back(words.words.front());
      if (words.words.size() > 1 && !ports.empty() && !ports.count(Lower(words.words[1]))) {
        errors.push_back(cell + " " + view + ": map " + map.filename().string() +
                         " names model port " + words.words[1] + ", which the wrapper lacks");
      }
    }
    what = "map " + map.filename().string();
  }
  const std::set<std::string> have = LowerSet(names);
  const std::set<std::string> want = LowerSet(pins);
  for (const std::string& pin : pins) {
    if (!have.count(Lower(pin))) {
      errors.push_back(cell + " " + view + ": " + what + " lacks symbol pin " + pin);
    }
  }
  for (const std::string& name : names) {
    if (!want.count(Lower(name))) {
      errors.push_back(cell + " " + view + ": " + what + " has " + name +
                       ", which the symbol lacks");
    }
  }
  return errors;
}

// The simulation step of one view: every module the wrapper instantiates is defined in the
// wrapper's file or by the models.
std::vector<std::string> CheckSimulation(const fs::path& cellDir, const std::string& cell,
                                         const std::string& view, const ModelSearch& models) {
  std::vector<std::string> errors;
  const fs::path wrapper = cellDir / view / (cell + ".v");
  const VerilogFile verilog = ReadVerilogFile(wrapper.string());
  std::set<std::string> local;
  for (const VerilogModule& module : verilog.modules) local.insert(module.name);
  for (const VerilogModule& module : verilog.modules) {
    for (const std::string& instance : module.instances) {
      if (!local.count(instance) && !models.defined.count(instance)) {
        errors.push_back(cell + " " + view + ": " + module.name + " instantiates " + instance +
                         ", which no model defines");
      }
    }
  }
  return errors;
}

std::vector<std::string> SymbolPins(const fs::path& cellDir, std::string& problem) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(cellDir, error)) {
    const std::string name = Lower(entry.path().filename().string());
    if (entry.is_directory() && (name == "sym" || name.rfind("sym_", 0) == 0)) {
      const SymbolViewResult symbol = ReadSymbolView((entry.path() / kSymbolFileName).string());
      if (!symbol.read) break;
      std::vector<std::string> pins;
      for (const SymbolPin& pin : symbol.symbol.pins) pins.push_back(pin.name);
      return pins;
    }
  }
  problem = "no symbol view in " + cellDir.string();
  return {};
}

void Pause() {
  // Tests slow the run down to have time to cancel it.
  if (const char* delay = std::getenv("KESTRA_CELLSIM_DELAY_MS")) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(delay)));
  }
}

}  // namespace

int RunSimulation(const SimulationOptions& options, std::ostream& out) {
  const fs::path library = fs::path(options.libdir) / options.library;
  std::vector<std::string> cells = options.cells.empty() ? CellsOf(library) : options.cells;
  out << "cellsim: library " << options.library << " (" << library.string() << "): " << cells.size()
      << " part(s), " << (options.wrapperViews ? "wrapper" : "map") << " view(s)";
  for (const std::string& view : options.views) out << " " << view;
  out << (options.simulate ? "" : ", netlist only") << std::endl;

  ModelSearch models;
  if (options.simulate) {
    if (!options.optionsFile.empty()) {
      ReadOptionsFile(options.optionsFile, models);
    } else if (options.modelSource == "default") {
      ReadDefaultPaths(library, models);
    } else {
      models.AddFolder(options.modelSource);
      if (!options.udpDir.empty()) models.AddFolder(options.udpDir);
    }
    models.Load();
    for (const std::string& folder : models.folders)
      out << "cellsim: models from " << folder << "\n";
  }

  std::ofstream summary("cellsim_summary.rep");
  summary << "cellsim summary: library " << options.library << "\n";
  for (const std::string& problem : models.problems) summary << "ERROR: " << problem << "\n";
  for (const std::string& warning : models.warnings) summary << "WARNING: " << warning << "\n";
  const std::string netlistFolder = options.wrapperViews ? "wrapper_error_log" : "map_error_log";
  const fs::path simFolder = fs::path("sim_error_log") / ("QelLog_" + options.library + "Sim");
  int failedParts = 0;
  for (const std::string& cell : cells) {
    Pause();
    const fs::path cellDir = library / cell;
    std::vector<std::string> netlistErrors;
    std::vector<std::string> simErrors;
    std::string problem;
    const std::vector<std::string> pins = SymbolPins(cellDir, problem);
    if (!problem.empty()) netlistErrors.push_back(cell + ": " + problem);
    for (const std::string& view : options.views) {
      if (!problem.empty()) break;
      const auto errors = CheckNetlist(options, cellDir, cell, view, pins);
      netlistErrors.insert(netlistErrors.end(), errors.begin(), errors.end());
      if (options.simulate && errors.empty() && models.problems.empty()) {
        const auto simulation = CheckSimulation(cellDir, cell, view, models);
        simErrors.insert(simErrors.end(), simulation.begin(), simulation.end());
      }
    }
    if (!netlistErrors.empty()) WriteLog(fs::path(netlistFolder) / (cell + ".log"), netlistErrors);
    if (!simErrors.empty()) WriteLog(simFolder / (cell + ".log"), simErrors);
    const bool passed = netlistErrors.empty() && simErrors.empty();
    const char* simulation = !options.simulate          ? "not run"
                             : !models.problems.empty() ? "not run"
                             : !netlistErrors.empty()   ? "not run"
                             : simErrors.empty()        ? "PASSED"
                                                        : "FAILED";
    summary << cell << ": netlist " << (netlistErrors.empty() ? "PASSED" : "FAILED")
            << ", simulation " << simulation << "\n";
    out << "cellsim: part " << cell << ": " << (passed ? "ok" : "FAILED") << "\n";
    for (const std::string& error : netlistErrors) out << "cellsim:   " << error << "\n";
    for (const std::string& error : simErrors) out << "cellsim:   " << error << "\n";
    out.flush();
    if (!passed) ++failedParts;
  }
  const bool failed = failedParts > 0 || !models.problems.empty();
  const bool warned = !models.warnings.empty();
  summary << "TOTAL: " << cells.size() << " part(s), " << failedParts << " failed\n";
  std::ofstream status("finalstatus.rep");
  status << (failed ? "FAILED" : warned ? "PASSED WITH WARNINGS" : "PASSED") << "\n";
  out << "cellsim: "
      << (failed   ? "FAILED"
          : warned ? "PASSED WITH WARNINGS"
                   : "PASSED")
      << std::endl;
  return 0;
}
