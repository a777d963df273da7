// What the part-level stand-in tools (tessel, mld) share: their option words, and finding a
// part's folder as a tool of the suite does, from the project it was given. Standard C++.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// "-option value" pairs in order; a later option of the same name wins. A word that is not
// an option (or an option without a value) is kept in `stray` so that the tool can say so.
struct ToolOptions {
  std::map<std::string, std::string> values;
  std::vector<std::string> order;  // the options as given
  std::vector<std::string> stray;

  bool Has(const std::string& option) const { return values.count(option) != 0; }
  std::string Get(const std::string& option) const;
};

ToolOptions ParseToolOptions(int argc, char** argv, const std::vector<std::string>& flags = {});

// With KESTRA_STANDIN_LOG set, appends {"tool", "arguments", "directory"} to that file, as
// every bundled stand-in does.
void AppendStandinRecord(const char* tool, int argc, char** argv);

// The project-file library finds the install file under QVD_INST_DIR; a tool in
// <root>/tools/bin sets it to <root> when the caller did not.
void SetInstallRootFromTool();

struct PartFolder {
  std::string listFile;    // the library list the library was found in
  std::string libraryDir;  // the library's directory
  std::string cellDir;     // libraryDir + "/" + cell
};

// Finds library and cell for a tool started with -proj project [-qvdlib listFile]: the list
// file is listFile when given, else the project folder's "qvd.lib"; when the project's GLOBAL
// "library" directive has values, the library must be one of them (case-insensitive), since
// the tools open only the libraries of the project they are given. Sets error and returns
// none when the project, the library or the cell cannot be found.
std::optional<PartFolder> FindPartFolder(const std::string& project, const std::string& listFile,
                                         const std::string& library, const std::string& cell,
                                         std::string& error);

// The values of the project's GLOBAL "library" directive; none when the project cannot be
// opened, empty when it has no such directive.
std::optional<std::vector<std::string>> ProjectLibraries(const std::string& project);
