#include "verify/simulation/CellsimConsoleRun.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "base/FlowNames.h"
#include "base/qvdCommon.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/ProcessToolRunner.h"
#include "verify/ProjectLibrary.h"
#include "verify/simulation/CellsimOptions.h"
#include "verify/simulation/CellsimPaths.h"
#include "verify/simulation/SimulationRun.h"

namespace {

// The options that take a value (also what `kestra verify` must not read as its own).
constexpr std::string_view kSimulationValued[] = {"-proj",    "-lib",         "-cell",
                                                  "-product", "-wrapperview", "-mapview",
                                                  "-models",  "-udps",        "-options"};

constexpr const char* kUsage =
    "-proj FILE -lib LIB [-cell CELL]... (-wrapperview | -mapview) VIEWS\n"
    "  (-default-paths | -models DIR [-udps DIR] | -options FILE | -stop-on-netlist)\n"
    "  [-product NAME]\n"
    "  VIEWS: the view names, one word (quote several: \"verilog verilog_2\")\n"
    "  -default-paths: the models named by the library's vlog_model_path.txt\n"
    "  -stop-on-netlist: the netlist checks only, no simulation";

struct SimulationArguments {
  std::string project;
  std::string library;
  std::vector<std::string> cells;
  std::string product = "kestra";
  CellsimSettings settings;
  bool viewsGiven = false;
  bool sourceGiven = false;
};

// The arguments, or the reason the words cannot be used.
std::optional<SimulationArguments> ParseSimulationArguments(const std::vector<std::string>& words,
                                                            std::string& error) {
  const auto given =
      FlowWords::Parse(words, {"-default-paths", "-stop-on-netlist"}, kSimulationValued, {}, error);
  if (!given) return std::nullopt;
  SimulationArguments args;
  CellsimSettings& settings = args.settings;
  settings.pathSource = CellsimPathSource::None;
  const auto source = [&](CellsimPathSource value) {
    if (args.sourceGiven && settings.pathSource != value) {
      error = "give one of -default-paths, -models, -options and -stop-on-netlist";
      return false;
    }
    args.sourceGiven = true;
    settings.pathSource = value;
    return true;
  };
  for (const auto& [word, value] : given->Given()) {
    if (word == "-proj") {
      args.project = value;
    } else if (word == "-lib") {
      args.library = value;
    } else if (word == "-cell") {
      args.cells.push_back(value);
    } else if (word == "-product") {
      args.product = value;
    } else if (word == "-wrapperview" || word == "-mapview") {
      if (args.viewsGiven) {
        error = "give one of -wrapperview and -mapview";
        return std::nullopt;
      }
      args.viewsGiven = true;
      settings.viewKind = word == "-mapview" ? CellsimViewKind::Map : CellsimViewKind::Wrapper;
      settings.views = value;
    } else if (word == "-default-paths") {
      if (!source(CellsimPathSource::Default)) return std::nullopt;
    } else if (word == "-stop-on-netlist") {
      if (!source(CellsimPathSource::None)) return std::nullopt;
      settings.stopOnNetlist = true;
    } else if (word == "-models") {
      if (!source(CellsimPathSource::Specify)) return std::nullopt;
      settings.modelDir = value;
    } else if (word == "-udps") {
      if (!source(CellsimPathSource::Specify)) return std::nullopt;
      settings.udpDir = value;
    } else if (!source(CellsimPathSource::OptionsFile)) {  // -options
      return std::nullopt;
    } else {
      settings.optionsFile = value;
    }
  }
  if (args.project.empty() || args.library.empty()) {
    error = "-proj and -lib are required";
  } else if (!args.viewsGiven) {
    error = "-wrapperview or -mapview is required";
  } else if (!args.sourceGiven) {
    error = "one of -default-paths, -models, -options and -stop-on-netlist is required";
  } else if (settings.pathSource == CellsimPathSource::Specify && settings.modelDir.empty()) {
    error = "-udps needs -models";
  } else {
    return args;
  }
  return std::nullopt;
}

// On the command line a relative path is taken from the current directory, as for -proj.
void Absolute(std::string& path) {
  if (path.empty()) return;
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  if (!error) path = absolute.string();
}

// The library's directory (project libraries first, then reference libraries), or "".
std::string LibraryDirectory(const std::string& projectDir, const std::string& library,
                             std::vector<std::string>& cells) {
  C5XBrowserData data(projectDir);
  for (const auto& tree : {data.GetBuildTree(), data.GetRefTree()}) {
    const LibraryEntry* entry = tree->FindLibrary(library);
    if (entry == nullptr || !entry->directoryExists) continue;
    for (const CellEntry& cell : tree->Cells(library)) cells.push_back(cell.name);
    return entry->directory;
  }
  return "";
}

VerifyResult SimulationResult(const SimulationArguments& args) {
  std::string cells;
  for (const std::string& cell : args.cells) cells += (cells.empty() ? "" : " ") + cell;
  return FlowResult(kSimulationFlow, args.library, cells);
}

VerifyResult NotRun(const SimulationArguments& args, std::string cause) {
  return NotRunResult(SimulationResult(args), std::move(cause));
}

FlowRun RunSimulationVerb(const std::vector<std::string>& words) {
  FlowRun run;
  auto args = ParseSimulationArguments(words, run.usageError);
  if (!args) return run;
  CellsimSettings& settings = args->settings;
  Absolute(settings.modelDir);
  Absolute(settings.udpDir);
  Absolute(settings.optionsFile);
  std::string problem;
  args->project = ExistingProjectFile(args->project, problem);
  if (args->project.empty()) {
    run.results.push_back(NotRun(*args, problem));
    return run;
  }
  const std::string projectDir = ProjectFolder(args->project);
  std::vector<std::string> known;
  const std::string path = LibraryDirectory(projectDir, args->library, known);
  if (path.empty()) {
    run.results.push_back(NotRun(*args, "no library " + args->library + " in " + projectDir +
                                            "qvd.lib or " + projectDir + "refqvd.lib"));
    return run;
  }
  for (const std::string& cell : args->cells) {
    if (std::find(known.begin(), known.end(), cell) == known.end()) {
      run.results.push_back(NotRun(*args, "no cell " + cell + " in library " + args->library));
      return run;
    }
  }

  if (problem = ResolveCellsimPaths(projectDir, settings); !problem.empty()) {
    run.results.push_back(NotRun(*args, problem));
    return run;
  }
  SimulationRequest request;
  request.projectDir = projectDir;
  request.library = LocateCellsimLibrary(args->library, path);
  request.cells = args->cells;
  request.settings = settings;
  request.installRoot = qvdGetInstPath(nullptr);
  // The verb loads no widget or display library: the simulator runs through ToolProcess.
  ProcessToolRunner runner(args->product);
  SimulationPlan plan;
  run.results = RunSimulation(request, runner, plan);
  return run;
}

// The part's Verilog wrapper, simulated with the run's models folder, else with the models
// the library's vlog_model_path.txt names.
PartWords SimulationPartWords(const PartRequest& part) {
  if (part.reference) return NotApplicable(NoReferenceRun(kSimulationFlow));
  if (std::find(part.views.begin(), part.views.end(), "verilog") == part.views.end())
    return NotApplicable("the part has no verilog view");
  std::vector<std::string> words = {"-proj", part.project, "-lib",         part.library,
                                    "-cell", part.cell,    "-wrapperview", "verilog"};
  if (!part.modelsDirectory.empty()) {
    words.insert(words.end(), {"-models", part.modelsDirectory});
    return RunWith(std::move(words), {part.modelsDirectory});
  }
  const std::string modelPaths = part.libraryDirectory + "/vlog_model_path.txt";
  std::error_code error;
  if (!std::filesystem::is_regular_file(modelPaths, error))
    return NotApplicable(
        "no simulation models: the library has no vlog_model_path.txt and no -models was given");
  words.push_back("-default-paths");
  return RunWith(std::move(words), {modelPaths});
}

}  // namespace

VerifyFlow CellsimVerifyFlow() {
  return {kSimulationFlow,
          "the Verilog simulation flow (cellsim) on a library or some of its cells",
          kUsage,
          RunSimulationVerb,
          SimulationPartWords,
          kSimulationValued};
}
