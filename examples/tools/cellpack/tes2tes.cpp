// tes2tes: a stand-in for the suite's library converter, in its verify-only mode only.
//
//   tes2tes -product P -proj "PROJECT" -qvdlib "LIST" -lib "LIB" [-cell "PART"] -verifyonly
//           [-ignoreFootprint] [-ignorePTF]
//
// Checks the library of LIST named LIB (or one of its parts) as cellpack does, its
// footprints too unless -ignoreFootprint (on the PAVREL PSMPATH of the project, relative
// folders taken from the project's folder), prints progress, and writes the summary
// PROJECT with ".tak" replaced by ".sum" and the log by ".log". See docs/packaging.md.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "PartPackaging.h"
#include "libformat/LibraryTree.h"
#include "projectfile/SpiExpandVariables.h"
#include "verify/packaging/PackagingReports.h"
#include "verify/packaging/PackagingSearchPath.h"

namespace fs = std::filesystem;

namespace {

struct Arguments {
  std::string project;
  std::string listFile;
  std::string library;
  std::string cell;
  bool verifyOnly = false;
  bool ignoreFootprint = false;
};

Arguments Parse(int argc, char** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "-verifyonly") {
      args.verifyOnly = true;
    } else if (option == "-ignoreFootprint") {
      args.ignoreFootprint = true;
    } else if (option == "-ignorePTF") {
      // The stand-in reads no part tables.
    } else if (i + 1 < argc) {
      const std::string value = argv[++i];
      if (option == "-proj") args.project = value;
      if (option == "-qvdlib") args.listFile = value;
      if (option == "-lib") args.library = value;
      if (option == "-cell") args.cell = value;
    }
  }
  return args;
}

// The project-file library finds the install file under QVD_INST_DIR; a tool in
// <root>/tools/bin sets it to <root> when the caller did not.
void SetInstallRoot() {
  if (std::getenv("QVD_INST_DIR")) return;
  std::error_code error;
  const auto self = fs::read_symlink("/proc/self/exe", error);
  if (!error) setenv("QVD_INST_DIR", self.parent_path().parent_path().parent_path().c_str(), 1);
}

}  // namespace

int main(int argc, char** argv) {
  SetInstallRoot();
  const Arguments args = Parse(argc, argv);
  if (!args.verifyOnly || args.project.empty() || args.listFile.empty() || args.library.empty()) {
    std::cerr << "usage: tes2tes -proj PROJECT -qvdlib LIST -lib LIB [-cell PART] -verifyonly "
                 "[-ignoreFootprint] [-ignorePTF]\n(the stand-in only verifies)\n";
    return 2;
  }
  std::ofstream log(ConsistencyFile(args.project, ".log"));
  std::ofstream summary(ConsistencyFile(args.project, ".sum"));
  LibraryTree tree(args.listFile, SpiExpandVariables);
  const LibraryEntry* library = tree.FindLibrary(args.library);
  if (library == nullptr || !library->directoryExists) {
    log << "ERROR: no library " << args.library << " in " << args.listFile << "\n";
    summary << "Consistency check FAILED: no library " << args.library << "\n";
    std::cout << "tes2tes: no library " << args.library << std::endl;
    return 1;
  }
  std::vector<std::string> folders;
  if (!args.ignoreFootprint) {
    const fs::path projectDir = fs::absolute(args.project).parent_path();
    for (const std::string& folder : ProjectFootprintPath(args.project))
      folders.push_back(fs::path(folder).is_absolute()
                            ? folder
                            : (projectDir / folder).lexically_normal().string());
  }
  const std::vector<std::string> cells = LibraryCells(library->directory);
  std::vector<std::string> selected = cells;
  if (!args.cell.empty()) {
    selected.clear();
    if (const std::string cell = FindCell(cells, args.cell); !cell.empty())
      selected.push_back(cell);
  }
  int failed = args.cell.empty() || !selected.empty() ? 0 : 1;
  if (failed) log << "ERROR: part " << args.cell << ": not in library " << args.library << "\n";
  int warnings = 0;
  for (const std::string& cell : selected) {
    const auto result =
        CheckPartPackaging(library->directory + "/" + cell, !args.ignoreFootprint, folders);
    for (const PackagingIssue& w : result.warnings)
      log << "WARNING: part " << cell << ": " << w.text << "\n";
    for (const PackagingIssue& e : result.errors)
      log << "ERROR: part " << cell << ": " << e.text << "\n";
    warnings += static_cast<int>(result.warnings.size());
    if (!result.errors.empty()) ++failed;
    std::cout << "tes2tes: part " << cell << ": "
              << (result.errors.empty() ? "consistent" : "inconsistent") << std::endl;
  }
  const std::string target = args.library + (args.cell.empty() ? "" : ", part " + args.cell);
  summary << "Consistency check of " << target << ": " << selected.size() << " parts checked, "
          << failed << " inconsistent.\n"
          << (failed     ? "FAILED"
              : warnings ? "PASSED with warnings"
                         : "PASSED")
          << "\n";
  log << "Summary: " << selected.size() << " parts checked, " << failed << " failed\n";
  return failed ? 1 : 0;
}
