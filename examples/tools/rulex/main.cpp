// rulex: a stand-in for the suite's rules checker, for tests and demonstrations.
//
//   rulex -proj TEMP_PROJECT -qvdlib LIST [-lib LIB [-cell CELL]...] [other options ignored]
//
// Without -lib (a batch run) it reads rx.dat from the run directory, checks the library (or
// library.cell) named there with the rules listed there, and writes rx.msg next to it. With
// -lib (the checker's own window) it checks that library with every rule of mldrules.rle.
// The run directory is found as the module finds it: directive "rundir" of program RULEX in
// the -proj project, "./rulex" when none, a value beginning with "." taken relative to the
// project's folder. See docs/rules-checker.md.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <thread>

#include "CommandFileReader.h"
#include "MessageFile.h"
#include "PartChecks.h"
#include "base/nimra.h"
#include "libformat/LibraryTree.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiExpandVariables.h"
#include "verify/rulex/RulexPaths.h"
#include "verify/rulex/RulexProject.h"

namespace {

struct Arguments {
  std::string project;
  std::string listFile;
  std::string library;
  std::vector<std::string> cells;
};

Arguments ParseArguments(int argc, char** argv) {
  Arguments args;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "-proj") args.project = argv[i + 1];
    if (option == "-qvdlib") args.listFile = argv[i + 1];
    if (option == "-lib") args.library = argv[i + 1];
    if (option == "-cell") args.cells.push_back(argv[i + 1]);
  }
  return args;
}

// The project-file library finds the install file under QVD_INST_DIR; a tool in
// <root>/tools/bin sets it to <root> when the caller did not.
void SetInstallRoot() {
  if (std::getenv("QVD_INST_DIR")) return;
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) setenv("QVD_INST_DIR", self.parent_path().parent_path().parent_path().c_str(), 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The values of GLOBAL "library" in the project, lower-cased; none when unreadable.
std::optional<std::set<std::string>> ProjectLibraries(const std::string& projectFile) {
  CSpiProject project;
  if (project.Open(projectFile) != 0 || project.FindProgram("GLOBAL") != 0 ||
      project.FindDirective("library") != 0) {
    return std::nullopt;
  }
  std::set<std::string> names;
  project.RewindValues();
  for (std::string value; project.GetNextValue(value) == 0;) names.insert(Lower(value));
  return names;
}

// A library's name as the module passes it: the name mapper's on-disk form, lower-cased
// (MapLibraryName), or the name itself when the mapper refuses it.
std::string OnDiskName(const std::string& name) {
  std::string buffer;
  const std::string* mapped =
      nimraMapper(nimraTesselToIdent, nimraIdentToLibraryUnix, name, 0, buffer);
  return mapped ? Lower(*mapped) : name;
}

// The library of the list that `target` ("lib" or "lib.cell") names, by its name or its
// on-disk name; the longest match wins so that libraries with full stops in their names work.
const LibraryEntry* FindTargetLibrary(const LibraryTree& tree, const std::string& target,
                                      std::string& cell) {
  const LibraryEntry* best = nullptr;
  std::size_t bestLength = 0;
  for (const LibraryEntry& entry : tree.Libraries()) {
    for (const std::string& name : {entry.name, OnDiskName(entry.name)}) {
      const bool whole = target == name;
      const bool withCell = target.size() > name.size() + 1 && target.rfind(name + ".", 0) == 0;
      if ((whole || withCell) && (!best || name.size() > bestLength)) {
        best = &entry;
        bestLength = name.size();
        cell = whole ? "" : target.substr(name.size() + 1);
      }
    }
  }
  return best;
}

class Run {
 public:
  void Fatal(const std::string& text) {
    findings_.push_back({"-", "run", Severity::Fatal, text});
    std::cout << "rulex: fatal: " << text << std::endl;
  }
  std::vector<Finding>& Findings() { return findings_; }
  std::vector<std::string>& Header() { return header_; }

 private:
  std::vector<Finding> findings_;
  std::vector<std::string> header_;
};

void SelectRules(const CommandFileContent& command, RuleSet& rules, std::set<std::string>& selected,
                 Run& run) {
  for (const RuleFileUse& use : command.ruleFiles) {
    if (use.path.ends_with("precompiled_body.rle")) {
      if (const std::string problem = CheckPrecompiledBody(use.path); !problem.empty())
        run.Fatal(problem);
      continue;
    }
    RuleSet file = ReadRuleFile(use.path);
    if (!file.error.empty()) run.Fatal(file.error);
    rules.severity.insert(file.severity.begin(), file.severity.end());
    for (const std::string& rule : use.rules) {
      if (file.severity.count(rule)) {
        selected.insert(rule);
      } else if (file.error.empty()) {
        run.Fatal("unknown rule " + rule + " (not in " + use.path + ")");
      }
    }
  }
}

void CheckLibrary(LibraryTree& tree, const LibraryEntry& library, const std::string& onlyCell,
                  const std::set<std::string>& selected, const RuleSet& rules, Run& run) {
  std::vector<std::string> cells;
  for (const CellEntry& cell : tree.Cells(library.name)) {
    if (onlyCell.empty() || cell.name == onlyCell) cells.push_back(cell.name);
  }
  if (!onlyCell.empty() && cells.empty()) {
    run.Fatal("library " + library.name + " has no part " + onlyCell);
    return;
  }
  const char* delay = std::getenv("KESTRA_RULEX_DELAY_MS");
  std::cout << "rulex: checking library " << library.name << " (" << cells.size() << " parts, "
            << selected.size() << " rules)" << std::endl;
  for (const std::string& cell : cells) {
    if (delay) std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(delay)));
    std::vector<Finding> found = CheckPart(cell, library.directory + "/" + cell,
                                           tree.Views(library.name, cell), selected, rules);
    std::cout << "rulex: part " << cell << ": " << found.size() << " findings" << std::endl;
    run.Findings().insert(run.Findings().end(), found.begin(), found.end());
  }
}

}  // namespace

int main(int argc, char** argv) {
  SetInstallRoot();
  const Arguments args = ParseArguments(argc, argv);
  if (args.project.empty() || args.listFile.empty()) {
    std::cerr << "usage: rulex -proj PROJECT -qvdlib LIST [-lib LIB [-cell CELL]...]\n";
    return 2;
  }
  const std::string projectDir = std::filesystem::path(args.project).parent_path().string() + "/";
  const std::string runDir = RulexRunDirectory(projectDir, ReadRulexRunDirectory(args.project));
  MakeDirectoryPath(runDir);
  std::cout << "rulex: run directory " << runDir << std::endl;

  Run run;
  RuleSet rules;
  std::set<std::string> selected;
  std::string target;
  if (args.library.empty()) {
    const CommandFileContent command = ReadCommandFile(runDir + "/rx.dat");
    if (!command.error.empty()) run.Fatal(command.error);
    SelectRules(command, rules, selected, run);
    target = command.target;
  } else {
    rules =
        ReadRuleFile(std::string(std::getenv("QVD_INST_DIR") ? std::getenv("QVD_INST_DIR") : ".") +
                     "/share/qvdsetup/lman/rulex/mldrules.rle");
    if (!rules.error.empty()) run.Fatal(rules.error);
    for (const auto& [name, severity] : rules.severity) selected.insert(name);
    target = args.library + (args.cells.size() == 1 ? "." + args.cells[0] : "");
  }
  run.Header() = {"Rules checker report", "Project: " + args.project,
                  "Library list: " + args.listFile, "Checked: " + target};

  LibraryTree tree(args.listFile, SpiExpandVariables);
  std::string cell;
  const LibraryEntry* library = target.empty() ? nullptr : FindTargetLibrary(tree, target, cell);
  const auto projectLibraries = ProjectLibraries(args.project);
  if (!target.empty() && !library) {
    run.Fatal("no library for \"" + target + "\" in " + args.listFile);
  } else if (library &&
             (!projectLibraries || (!projectLibraries->count(Lower(library->name)) &&
                                    !projectLibraries->count(OnDiskName(library->name))))) {
    run.Fatal("library " + library->name + " is not named by GLOBAL library in " + args.project);
  } else if (library && run.Findings().empty()) {
    CheckLibrary(tree, *library, cell, selected, rules, run);
  }

  const std::string log = runDir + "/rx.msg";
  if (!WriteMessageFile(log, ComposeMessageFile(run.Header(), run.Findings()))) {
    std::cerr << "rulex: cannot write " << log << "\n";
    return 2;
  }
  const bool fatal = std::any_of(run.Findings().begin(), run.Findings().end(),
                                 [](const Finding& f) { return f.severity == Severity::Fatal; });
  std::cout << "rulex: " << run.Findings().size() << " findings written to " << log << std::endl;
  return fatal ? 1 : 0;
}
