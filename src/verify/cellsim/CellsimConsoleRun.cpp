#include "verify/cellsim/CellsimConsoleRun.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "base/SignalText.h"
#include "base/qvdCommon.h"
#include "context/CKestraCmdContext.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "verify/ConsoleToolRun.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/WorkingDirectory.h"
#include "verify/cellsim/CellsimOptions.h"
#include "verify/cellsim/CellsimPaths.h"
#include "verify/cellsim/CellsimReports.h"

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
std::string LibraryDirectory(const CKestraCmdContext& command, const std::string& library,
                             std::vector<std::string>& cells) {
  C5XBrowserData data(command.GetProjectPath());
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
  return FlowResult("simulation", args.library, cells);
}

VerifyResult NotRun(const SimulationArguments& args, std::string cause) {
  return NotRunResult(SimulationResult(args), std::move(cause));
}

// The lines of the tool's own summary that tell of a failure or a warning.
std::vector<std::string> SummaryFindings(const std::string& summary) {
  std::vector<std::string> findings;
  std::ifstream in(summary);
  std::string line;
  while (std::getline(in, line) && !line.starts_with("===")) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("FAILED") != std::string::npos || line.starts_with("ERROR") ||
        line.starts_with("WARNING")) {
      findings.push_back(line);
    }
  }
  return findings;
}

FlowRun RunSimulation(const std::vector<std::string>& words) {
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
  CKestraCmdContext command;
  command.SetProduct(args->product);
  command.SetProject(args->project);
  const std::string projectDir = command.GetProjectPath();
  std::vector<std::string> known;
  const std::string path = LibraryDirectory(command, args->library, known);
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

  // The run moves the current directory; it is back when the verb ends.
  const CurrentDirectoryGuard back;
  const CellsimLibrary library = LocateCellsimLibrary(args->library, path);
  problem = ResolveCellsimPaths(projectDir, settings);
  if (problem.empty()) problem = CheckCellsimRequest(settings, library);
  if (problem.empty()) problem = CheckCellsimNames(library, args->cells);
  const int mode = CellsimRunMode(args->cells.size());
  const std::string cell = mode == 1 ? args->cells.front() : "";
  std::string options;
  if (problem.empty()) {
    problem = ComposeCellsimOptions(settings, library, mode, cell,
                                    mode == 2 ? CellsimCellListText(args->cells) : "", options);
  }
  if (problem.empty()) {
    EnterDirectory(CellsimProjectDirectory(projectDir));
    problem = EnterCellsimScratchDirectory(projectDir);
  }
  if (!problem.empty()) {
    run.results.push_back(NotRun(*args, problem));
    return run;
  }

  std::cerr << CellsimStatusText(args->library, mode, cell) << "\n";
  StreamSink sink(std::cerr);
  ConsoleToolRun(*command.GetLauncher(), sink).Run([&](CToolLauncher& launcher, HWND owner) {
    launcher.launchCellsim(qvdGetInstPath(nullptr) + "/tools/libutil/cellsim.exe", options,
                           args->product, owner);
  });
  EnterDirectory(back.Saved());

  CellsimOutcome outcome = ReadCellsimOutcome(projectDir, args->library, settings.stopOnNetlist);
  const int endSignal = command.GetLauncher()->GetLastEndSignal();
  if (endSignal != 0) MarkCellsimEndedBySignal(outcome, endSignal, settings.stopOnNetlist);
  VerifyResult result = SimulationResult(*args);
  result.verdict = CellsimVerdictOf(outcome.status);
  result.message = outcome.message;
  result.log = outcome.logFile;
  result.findings = SummaryFindings(CellsimSummaryPath(projectDir));
  for (const std::string& file : outcome.logs.unreadable) {
    result.findings.push_back("error log " + file + " cannot be read");
  }
  if (endSignal != 0) {
    result.cause = "cellsim was ended by " + SignalText(endSignal);
  } else if (result.verdict == Verdict::Unknown) {
    result.cause = "the final status report " + CellsimFinalStatusPath(projectDir) +
                   " cannot be read as a file";
  }
  run.results.push_back(std::move(result));
  return run;
}

// The part's Verilog wrapper, simulated with the run's models folder, else with the models
// the library's vlog_model_path.txt names.
PartWords SimulationPartWords(const PartRequest& part) {
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
  return {"simulation",
          "the Verilog simulation flow (cellsim) on a library or some of its cells",
          kUsage,
          RunSimulation,
          SimulationPartWords,
          kSimulationValued};
}
