// A library named on a flow's command line, found in the project's lists: the reference list
// (refqvd.lib) when -ref was given, else the project list (qvd.lib). Shared by the headless
// runners so that a library in the other list is told the same way everywhere. UI thread
// (the library lists are read through the browser's data).
#pragma once

#include <memory>
#include <string>

class LibraryTree;

struct ProjectLibrary {
  std::string list;  // the list file; "" when the library cannot be used
  std::shared_ptr<LibraryTree> tree;
};

// The folder of the project file, ending in a separator, as the command object derives it.
std::string ProjectFolder(const std::string& projectFile);

// projectPath is the project's folder, ending in a separator. When the library is not in the
// list asked for, the result has no list and problem says why; usage is set when it is in the
// other list (the user should add or leave out -ref).
ProjectLibrary FindProjectLibrary(const std::string& projectPath, const std::string& library,
                                  bool reference, std::string& problem, bool& usage);

// "" when the library of the tree has the part (a usable cell) of that name, else the text
// that names what is missing: "library LIB has no part CELL".
std::string MissingPartProblem(LibraryTree& tree, const std::string& library,
                               const std::string& cell);
