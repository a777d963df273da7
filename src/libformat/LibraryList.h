// Reading the library list files of a project ("qvd.lib", "refqvd.lib"): one library per
// line with its name and directory; see docs/library-format.md. Standard C++ only; the
// functions keep no state and may be called from any thread that owns its arguments.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "libformat/FormatIssue.h"

struct LibraryEntry {
  std::string name;
  std::string directory;  // expanded and made absolute against the list file's folder
  std::string listFile;   // the list file that named the library
  int line = 0;           // its line in that file
  bool directoryExists = false;

  // A library can be chosen when its directory exists and its name needs no quoting.
  bool Choosable() const;
};

struct LibraryList {
  std::vector<LibraryEntry> libraries;  // in list order, first of each name only
  FormatIssues issues;                  // everything that could not be taken as written
};

// Expands environment references in a directory value: 1 with expanded set, or 0 with
// errorMessage set (the signature of SpiExpandVariables, which
// callers above the project-file library pass).
using VariableExpander =
    std::function<int(const std::string& input, std::string& expanded, std::string& error)>;

// Reads listFile (and the files it includes). Never throws for bad content or missing files:
// every problem becomes an issue and the rest of the list still loads.
LibraryList ReadLibraryList(const std::string& listFile, const VariableExpander& expand);
