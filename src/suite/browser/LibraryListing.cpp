#include "suite/browser/LibraryListing.h"

#include <filesystem>
#include <ostream>

#include "base/PrintableText.h"
#include "libformat/LibraryTree.h"
#include "projectfile/SpiExpandVariables.h"

namespace {

// Writes one list file's libraries, their cells and each cell's views; returns the number
// of problems written to err.
size_t ListTree(const std::string& title, LibraryTree& tree, std::ostream& out, std::ostream& err) {
  // Names come from folders and files anybody may have made: printed with control
  // characters escaped, so that none can drive the terminal.
  out << title << " (" << PrintableText(tree.ListFile()) << "):\n";
  if (tree.Libraries().empty()) out << "  (none)\n";
  for (const LibraryEntry& lib : tree.Libraries()) {
    out << "  " << PrintableText(lib.name) << "  " << PrintableText(lib.directory)
        << (lib.directoryExists ? "" : "  [missing]") << '\n';
    for (const CellEntry& cell : tree.Cells(lib.name)) {
      out << "    " << PrintableText(cell.name) << "  [";
      const char* separator = "";
      for (const std::string& view : tree.Views(lib.name, cell.name)) {
        out << separator << PrintableText(view);
        separator = " ";
      }
      out << ']' << (cell.usable ? "" : "  (not selectable)") << '\n';
    }
  }
  for (const FormatIssue& issue : tree.Issues()) err << PrintableText(issue.ToString()) << '\n';
  return tree.Issues().size();
}

}  // namespace

int ListProjectLibraries(const std::string& projectFile, std::ostream& out, std::ostream& err) {
  std::string directory = std::filesystem::path(projectFile).parent_path().string();
  directory = directory.empty() ? "./" : directory + "/";
  size_t problems = 0;
  LibraryTree project(directory + "qvd.lib", SpiExpandVariables);
  problems += ListTree("Project libraries", project, out, err);
  // Without "refqvd.lib" the project simply has no reference libraries (a design project).
  std::error_code ec;
  if (std::filesystem::exists(directory + "refqvd.lib", ec)) {
    LibraryTree reference(directory + "refqvd.lib", SpiExpandVariables);
    problems += ListTree("Reference libraries", reference, out, err);
  } else {
    out << "Reference libraries: none (no refqvd.lib)\n";
  }
  return problems == 0 ? 0 : 1;
}
