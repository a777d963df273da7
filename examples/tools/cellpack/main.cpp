// cellpack: a stand-in for the suite's packaging-check tool, for tests and demonstrations.
//
//   cellpack -libdir "DIR" -lib LIB [-cell PART...] -page d [-netrev -PSMPATH 'F'...]
//            [-ptfdirectivefile "FILE"]
//
// Checks the parts of DIR/LIB (all of them, or those named after -cell, by cell name or
// on-disk name) in the current directory, printing progress, and writes "status.rep"
// (PASSED or FAILED) and "ftb.rep" (the log: WARNING and ERROR lines) there. A relative
// footprint folder is taken relative to the parent of the current directory (the project
// directory, as the module runs the tool in its scratch directory). KESTRA_CELLPACK_CPU_MS
// makes each part take that much processor time, KESTRA_CELLPACK_DELAY_MS that much time
// asleep. See docs/packaging.md.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "PartPackaging.h"

namespace fs = std::filesystem;

namespace {

struct Arguments {
  std::string libraryDirectory;
  std::string library;
  std::vector<std::string> cells;
  bool netrev = false;
  std::vector<std::string> footprintFolders;
  std::string ptfFile;
};

bool IsOption(const std::string& word) { return word.size() > 1 && word.front() == '-'; }

// The words of a list option up to the next option.
std::vector<std::string> ListAfter(int& i, int argc, char** argv) {
  std::vector<std::string> words;
  while (i + 1 < argc && !IsOption(argv[i + 1])) words.emplace_back(argv[++i]);
  return words;
}

// Folders written as 'folder' (a folder with blanks arrives in several words).
std::vector<std::string> QuotedFolders(const std::vector<std::string>& words) {
  std::vector<std::string> folders;
  std::string current;
  bool open = false;
  for (const std::string& word : words) {
    current = open ? current + " " + word : word;
    open = current.front() == '\'' && (current.size() == 1 || current.back() != '\'');
    if (open) continue;
    if (current.size() >= 2 && current.front() == '\'' && current.back() == '\'')
      current = current.substr(1, current.size() - 2);
    folders.push_back(current);
  }
  if (open) folders.push_back(current.substr(1));
  return folders;
}

bool Parse(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "-netrev") {
      args.netrev = true;
    } else if (option == "-cell") {
      args.cells = ListAfter(i, argc, argv);
    } else if (option == "-PSMPATH") {
      args.footprintFolders = QuotedFolders(ListAfter(i, argc, argv));
    } else if (i + 1 < argc) {
      const std::string value = argv[++i];
      if (option == "-libdir") args.libraryDirectory = value;
      if (option == "-lib") args.library = value;
      if (option == "-ptfdirectivefile") args.ptfFile = value;
    }
  }
  return !args.libraryDirectory.empty() && !args.library.empty();
}

void SpendTime() {
  if (const char* delay = std::getenv("KESTRA_CELLPACK_DELAY_MS"))
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(delay)));
  const char* setting = std::getenv("KESTRA_CELLPACK_CPU_MS");
  if (!setting) return;
  const auto until = std::clock() + std::atol(setting) * (CLOCKS_PER_SEC / 1000);
  volatile unsigned long spin = 0;
  while (std::clock() < until) spin = spin + 1;
}

std::string Absolute(const std::string& folder) {
  if (folder.empty() || folder.front() == '/') return folder;
  std::error_code error;
  return (fs::current_path(error).parent_path() / folder).lexically_normal().string();
}

// One finding in the log: the line people read ("ERROR: part P: text"), then the same in the
// documented finding form (docs/findings.md) for readers. part "" is the run as a whole.
void Report(std::ostream& log, bool error, const std::string& part, const PackagingIssue& issue) {
  log << (error ? "ERROR: " : "WARNING: ") << (part.empty() ? "" : "part " + part + ": ")
      << issue.text << "\n";
  log << "FINDING\t" << (error ? "error" : "warning") << "\t" << issue.rule << "\t"
      << (part.empty() ? "-" : part) << "\t" << (issue.object.empty() ? "-" : issue.object) << "\t"
      << issue.text << "\n";
}

// The ptf directives as the log shows them; a part table that does not exist is a warning.
void ReadPtfFile(const std::string& file, std::ostream& log, int& warnings) {
  std::ifstream in(file);
  if (!in) {
    Report(log, true, "",
           {"ptf_unreadable", file, "the ptf directive file " + file + " cannot be read"});
    ++warnings;
    return;
  }
  std::size_t directives = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    ++directives;
    log << "ptf: " << line << "\n";
    if (line.rfind("ppt ", 0) != 0) continue;
    // Values are quoted; the module writes them with backslashes.
    for (std::size_t open = line.find('\''); open != std::string::npos;) {
      const std::size_t close = line.find('\'', open + 1);
      if (close == std::string::npos) break;
      std::string path = line.substr(open + 1, close - open - 1);
      std::replace(path.begin(), path.end(), '\\', '/');
      std::error_code error;
      if (!path.empty() && path.front() != '$' && !fs::exists(path, error)) {
        Report(log, false, "", {"part_table_missing", path, "part table " + path + " not found"});
        ++warnings;
      }
      open = line.find('\'', close + 1);
    }
  }
  log << "ptf: " << directives << " directives from " << file << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!Parse(argc, argv, args)) {
    std::cerr << "usage: cellpack -libdir DIR -lib LIB [-cell PART...] -page d [-netrev -PSMPATH "
                 "'F'...] [-ptfdirectivefile FILE]\n";
    return 2;
  }
  for (std::string& folder : args.footprintFolders) folder = Absolute(folder);
  const std::string libraryDirectory = args.libraryDirectory + "/" + args.library;
  std::ofstream log("ftb.rep");
  log << "Packaging check of library " << args.library << " (" << libraryDirectory << ")\n";
  int failed = 0;
  int warnings = 0;
  if (!args.ptfFile.empty()) ReadPtfFile(args.ptfFile, log, warnings);

  const std::vector<std::string> cells = LibraryCells(libraryDirectory);
  std::vector<std::string> selected;
  if (args.cells.empty()) {
    selected = cells;
    if (!fs::is_directory(libraryDirectory)) {
      Report(log, true, "",
             {"library_missing", libraryDirectory,
              "library directory " + libraryDirectory + " not found"});
      ++failed;
    }
  }
  for (const std::string& name : args.cells) {
    const std::string cell = FindCell(cells, name);
    if (cell.empty()) {
      Report(log, true, name, {"part_missing", name, "not in library " + args.library});
      std::cout << "cellpack: part " << name << ": not found" << std::endl;
      ++failed;
    } else {
      selected.push_back(cell);
    }
  }
  std::cout << "cellpack: library " << args.library << ", " << selected.size() << " parts"
            << (args.netrev ? ", up to the board" : "") << std::endl;
  for (const std::string& cell : selected) {
    SpendTime();
    const PartPackagingResult result =
        CheckPartPackaging(libraryDirectory + "/" + cell, args.netrev, args.footprintFolders);
    for (const std::string& note : result.notes) log << "part " << cell << ": " << note << "\n";
    for (const PackagingIssue& w : result.warnings) Report(log, false, cell, w);
    for (const PackagingIssue& e : result.errors) Report(log, true, cell, e);
    warnings += static_cast<int>(result.warnings.size());
    if (!result.errors.empty()) ++failed;
    std::cout << "cellpack: part " << cell << ": "
              << (result.errors.empty()
                      ? (result.warnings.empty() ? "passed" : "passed with warnings")
                      : "failed")
              << std::endl;
  }
  const bool passed = failed == 0;
  log << "Summary: " << selected.size() << " parts checked, " << failed << " failed\n";
  std::ofstream status("status.rep");
  status << (passed ? "PASSED" : "FAILED") << "\n";
  std::cout << "cellpack: " << (passed ? "PASSED" : "FAILED") << std::endl;
  return passed ? 0 : 1;
}
