#include "convert/kicad/KicadImport.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "base/ReplaceFile.h"
#include "convert/kicad/ImportArguments.h"
#include "convert/kicad/ImportName.h"
#include "convert/kicad/ImportOutput.h"
#include "convert/kicad/KicadFootprint.h"
#include "convert/kicad/KicadPartWriter.h"
#include "convert/kicad/KicadSymbolLibrary.h"
#include "convert/kicad/ProjectSwitch.h"
#include "convert/kicad/SExpression.h"
#include "verify/StopSignals.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCommand = "kestra import kicad";

// One source library: a ".kicad_sym" file or a ".pretty" folder.
struct SourceLibrary {
  std::string path;
  std::string kicadName;  // the file or folder name without its extension
  std::string name;       // the library's (or footprint folder's) name with us
  bool footprints = false;
};

struct LibraryOutcome {
  FormatIssues issues;
  int converted = 0;
  int leftOut = 0;
  std::string failure;  // a write that failed: the whole import fails
};

bool HasExtension(const fs::path& path, const char* extension) {
  return path.extension() == extension;
}

// The libraries of the sources, in name order; a source that is neither is an issue.
std::vector<SourceLibrary> CollectSources(const std::vector<std::string>& sources, bool footprints,
                                          const std::string& prefix, FormatIssues& issues) {
  const char* extension = footprints ? ".pretty" : ".kicad_sym";
  std::vector<SourceLibrary> found;
  auto add = [&](const fs::path& path) {
    const std::string stem = path.stem().string();
    found.push_back({path.string(), stem, EncodeImportName(prefix + stem), footprints});
  };
  for (const std::string& source : sources) {
    std::error_code error;
    const fs::path path(source);
    const bool folder = fs::is_directory(path, error);
    if (HasExtension(path, extension) && (footprints ? folder : fs::is_regular_file(path, error))) {
      add(path);
    } else if (folder) {
      std::vector<fs::path> inside;
      for (const auto& entry : fs::directory_iterator(path, error))
        if (HasExtension(entry.path(), extension)) inside.push_back(entry.path());
      std::sort(inside.begin(), inside.end());
      if (inside.empty())
        issues.push_back({source, 0, std::string("no ") + extension + " in this folder"});
      for (const fs::path& p : inside) add(p);
    } else {
      issues.push_back(
          {source, 0, std::string("neither a ") + extension + " nor a folder of them"});
    }
  }
  return found;
}

// "LIB:NAME" of every footprint file of the footprint sources: what symbols may refer to.
std::set<std::string> FootprintIndex(const std::vector<SourceLibrary>& libraries) {
  std::set<std::string> index;
  for (const SourceLibrary& library : libraries) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(library.path, error))
      if (HasExtension(entry.path(), ".kicad_mod"))
        index.insert(library.kicadName + ":" + entry.path().stem().string());
  }
  return index;
}

class Importer {
 public:
  Importer(std::string staging, const std::set<std::string>& footprints, bool checkFootprints,
           const StopSignals& signals)
      : staging_(std::move(staging)),
        footprints_(footprints),
        checkFootprints_(checkFootprints),
        signals_(signals) {}

  // tree: the calling thread's parse tree, reused from file to file.
  LibraryOutcome Convert(const SourceLibrary& library, SExprTree& tree) {
    return library.footprints ? ConvertFootprints(library, tree) : ConvertSymbols(library, tree);
  }

 private:
  LibraryOutcome ConvertSymbols(const SourceLibrary& library, SExprTree& tree) {
    LibraryOutcome outcome;
    std::string text, error;
    if (!ReadRegularFile(library.path, text, &error)) {
      outcome.issues.push_back({library.path, 0, error});
      return outcome;
    }
    const KicadSymbolLibrary read = ReadKicadSymbolLibrary(library.path, text, &tree);
    outcome.issues = read.issues;
    if (!read.read) return outcome;
    const std::string folder = staging_ + "/symbols/" + library.name;
    if (!MakeFolder(folder, outcome.failure)) return outcome;
    for (const KicadSymbol& symbol : read.symbols) {
      if (signals_.Caught() != 0) return outcome;
      const ConvertedPart part = ConvertKicadSymbol(symbol, library.path);
      CheckFootprint(library.path, symbol, part.footprint, outcome.issues);
      const std::string cell = folder + "/" + part.cell;
      if (!MakeFolder(cell, outcome.failure)) return outcome;
      for (const auto& [file, content] : part.files) {
        const std::string path = cell + "/" + file;
        if (!MakeFolder(path.substr(0, path.rfind('/')), outcome.failure) ||
            !WriteNewFile(path, content, outcome.failure))
          return outcome;
      }
      ++outcome.converted;
    }
    return outcome;
  }

  void CheckFootprint(const std::string& file, const KicadSymbol& symbol,
                      const std::string& footprint, FormatIssues& issues) const {
    if (!checkFootprints_ || footprint.empty() || footprints_.count(footprint)) return;
    const std::size_t colon = footprint.find(':');
    const std::string library = footprint.substr(0, colon);
    const bool libraryThere =
        colon != std::string::npos &&
        footprints_.lower_bound(library + ":") != footprints_.lower_bound(library + ";");
    issues.push_back({file, symbol.line,
                      "symbol \"" + symbol.name + "\": footprint \"" + footprint + "\": " +
                          (libraryThere ? "no such footprint in library " + library
                                        : "library \"" + library + "\" is not imported")});
  }

  LibraryOutcome ConvertFootprints(const SourceLibrary& library, SExprTree& tree) {
    LibraryOutcome outcome;
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(library.path, error))
      if (HasExtension(entry.path(), ".kicad_mod")) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    const std::string folder = staging_ + "/footprints/" + library.name;
    if (!MakeFolder(folder, outcome.failure)) return outcome;
    std::string text, readError;
    for (const fs::path& file : files) {
      if (signals_.Caught() != 0) return outcome;
      if (!ReadRegularFile(file.string(), text, &readError)) {
        outcome.issues.push_back({file.string(), 0, readError});
        ++outcome.leftOut;
        continue;
      }
      KicadFootprint footprint = ReadKicadFootprint(file.string(), text, &tree);
      outcome.issues.insert(outcome.issues.end(), footprint.issues.begin(), footprint.issues.end());
      if (!footprint.read) {
        ++outcome.leftOut;
        continue;
      }
      const std::string name = EncodeImportName(file.stem().string());
      const std::string content = FootprintFileText(footprint, name, file.string());
      const std::string base = folder + "/" + name;
      if (!WriteNewFile(base + ".dra", content, outcome.failure) ||
          !SecondName(base + ".dra", base + ".psm", content, outcome.failure))
        return outcome;
      ++outcome.converted;
    }
    return outcome;
  }

  std::string staging_;
  const std::set<std::string>& footprints_;
  bool checkFootprints_;
  const StopSignals& signals_;
};

// Converts every library with workers threads; outcomes in the libraries' order.
std::vector<LibraryOutcome> ConvertAll(Importer& importer, const std::vector<SourceLibrary>& all,
                                       int workers, const StopSignals& signals, std::ostream& err) {
  std::vector<LibraryOutcome> outcomes(all.size());
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};
  std::mutex progress;
  std::size_t shown = 0;
  auto work = [&] {
    SExprTree tree;
    for (std::size_t i = next++; i < all.size() && signals.Caught() == 0; i = next++) {
      outcomes[i] = importer.Convert(all[i], tree);
      const std::size_t finished = ++done;
      const std::lock_guard<std::mutex> lock(progress);
      // Progress in tenths, so a long import shows it is alive without flooding the terminal.
      if (finished * 10 / all.size() > shown * 10 / all.size() || finished == all.size()) {
        shown = finished;
        err << kCommand << ": " << finished << " of " << all.size() << " libraries converted\n";
      }
    }
  };
  std::vector<std::thread> threads;
  const int extra = std::min<int>(workers, static_cast<int>(all.size())) - 1;
  for (int t = 0; t < extra; ++t) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();
  return outcomes;
}

std::string ProjectDirectory(const std::string& projectFile) {
  std::error_code error;
  fs::path absolute = fs::absolute(projectFile, error);
  return absolute.parent_path().string() + "/";
}

// A project file that does not exist yet is made, empty but for a comment; created tells
// whether it was, so that an import that does not happen takes it away again.
bool EnsureProjectFile(const std::string& projectFile, bool& created, std::ostream& err) {
  std::error_code error;
  created = false;
  if (fs::exists(projectFile, error)) return true;
  std::string why;
  created = ReplaceFileContent(projectFile, "{ project of imported KiCad libraries }\n", &why);
  if (created) return true;
  err << kCommand << ": " << why << "\n";
  return false;
}

}  // namespace

int RunKicadImport(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  std::string wordError;
  const std::optional<ImportArguments> a = ParseImportArguments(words, wordError);
  if (!a) {
    err << kCommand << ": " << wordError << "\n" << kImportUsage;
    return 2;
  }
  if (a->help) {
    out << kImportUsage;
    return 0;
  }
  FormatIssues sourceIssues;
  std::vector<SourceLibrary> all =
      CollectSources(a->footprintSources, true, a->libraryPrefix, sourceIssues);
  const std::set<std::string> index = FootprintIndex(all);
  const bool checkFootprints = !all.empty();
  for (SourceLibrary& library :
       CollectSources(a->symbolSources, false, a->libraryPrefix, sourceIssues))
    all.push_back(std::move(library));
  for (const FormatIssue& issue : sourceIssues) err << issue.ToString() << "\n";
  if (all.empty()) {
    err << kCommand << ": nothing to import\n";
    return 1;
  }
  const std::string projectDir = ProjectDirectory(a->projectFile);
  std::error_code error;
  if (fs::exists(projectDir + kImportFolder, error) && !a->replace) {
    err << kCommand << ": the project already has imported libraries in " << projectDir
        << kImportFolder << "; give -replace to replace them\n";
    return 2;
  }
  ImportedLibraries libraries;
  for (const SourceLibrary& library : all) {
    if (library.footprints) {
      libraries.footprintFolders.push_back("footprints/" + library.name);
    } else {
      libraries.symbolLibraries.emplace_back(library.name, "symbols/" + library.name);
    }
  }
  const std::vector<std::string> clashes = ClashingLibraryNames(projectDir, libraries);
  if (!clashes.empty()) {
    err << kCommand << ": the project already has a library " << clashes.front()
        << " of its own; choose a prefix with -lib-prefix\n";
    return 2;
  }
  bool created = false;
  if (!EnsureProjectFile(a->projectFile, created, err)) return 1;
  // Whatever stops the import from here on leaves the project as it was, without a project
  // file that only the import made.
  auto forget = [&] {
    if (created) fs::remove(a->projectFile, error);
  };
  std::string failure;
  if (!ProjectCanChange(a->projectFile, failure)) {
    err << kCommand << ": " << failure << "\n";
    forget();
    return 1;
  }

  const std::string staging =
      projectDir + "." + kImportFolder + "-new-" + std::to_string(::getpid());
  RemoveTree(staging);
  if (!MakeFolder(staging, failure) || !MakeFolder(staging + "/symbols", failure) ||
      !MakeFolder(staging + "/footprints", failure)) {
    err << kCommand << ": " << failure << "\n";
    RemoveTree(staging);
    forget();
    return 1;
  }
  const StopSignals signals;
  Importer importer(staging, index, checkFootprints, signals);
  const std::vector<LibraryOutcome> outcomes = ConvertAll(importer, all, a->workers, signals, err);
  int symbols = 0, footprints = 0, leftOut = 0, problems = 0;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    for (const FormatIssue& issue : outcomes[i].issues) err << issue.ToString() << "\n";
    problems += static_cast<int>(outcomes[i].issues.size());
    (all[i].footprints ? footprints : symbols) += outcomes[i].converted;
    leftOut += outcomes[i].leftOut;
    if (failure.empty()) failure = outcomes[i].failure;
  }
  if (signals.Caught() != 0) {
    RemoveTree(staging);
    forget();
    err << kCommand << ": stopped; the project is as it was\n";
    return 128 + signals.Caught();
  }
  if (!failure.empty() ||
      !SwitchImport(projectDir, a->projectFile, staging, libraries, failure, a->workers)) {
    RemoveTree(staging);
    forget();
    err << kCommand << ": " << failure << "; the project is as it was\n";
    return 1;
  }
  out << "imported " << symbols << " symbols in " << libraries.symbolLibraries.size()
      << " libraries and " << footprints << " footprints in " << libraries.footprintFolders.size()
      << " footprint folders into " << projectDir << kImportFolder << " (" << problems
      << " problems reported, " << leftOut << " symbols or footprints left out)\n";
  return 0;
}
