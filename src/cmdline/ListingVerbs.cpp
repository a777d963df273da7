#include "cmdline/ListingVerbs.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "base/HelpWord.h"
#include "base/PrintableText.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "outside/CFootprint.h"
#include "verify/FlowWords.h"
#include "verify/PathNames.h"
#include "verify/footprint/FootprintRows.h"

namespace {

constexpr const char* kFootprintsUsage =
    "usage: kestra footprints -proj FILE.tak [-filter PATTERN]\n";

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
  C5XBrowserData browser(directory);
  size_t problems = ListTree("Project libraries", *browser.GetBuildTree(), out, err);
  // Without "refqvd.lib" the project simply has no reference libraries (a design project).
  std::error_code ec;
  if (std::filesystem::exists(directory + "refqvd.lib", ec)) {
    problems += ListTree("Reference libraries", *browser.GetRefTree(), out, err);
  } else {
    out << "Reference libraries: none (no refqvd.lib)\n";
  }
  return problems == 0 ? 0 : 1;
}

int ListFootprints(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.size() == 1 && IsHelpWord(words[0])) {
    out << kFootprintsUsage;
    return 0;
  }
  std::string error;
  const auto given = FlowWords::Parse(words, {}, {"-proj", "-filter"}, {"-proj"}, error);
  if (!given) {
    err << "kestra footprints: " << error << "\n" << kFootprintsUsage;
    return 2;
  }
  const std::string project = ExistingProjectFile(given->Value("-proj"), error);
  if (project.empty()) {
    err << "kestra footprints: " << error << "\n";
    return 2;
  }
  CFootprint footprints;
  BuildFootprintList(footprints, project);
  if (footprints.SearchPath().empty()) {
    for (const std::string& problem : footprints.Problems())
      err << "kestra footprints: " << problem << "\n";
    return 2;
  }
  CFilter filter("*", 0);
  const std::vector<FootprintRow> rows =
      MatchingFootprints(footprints, filter, given->Value("-filter"));
  std::size_t width = std::string("Footprint").size();
  for (const FootprintRow& row : rows) width = std::max(width, row.name.size());
  auto line = [&](const std::string& name, const std::string& location) {
    out << name << std::string(width - name.size() + 2, ' ') << location << "\n";
  };
  line("Footprint", "Location");
  for (const FootprintRow& row : rows) line(row.name, row.location);
  TellAboutFootprintPath(footprints, err);
  return 0;
}
