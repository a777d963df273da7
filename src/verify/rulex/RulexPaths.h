// Names, folders and option texts of a rules-checker run, composed from the project's directory
// (which ends in its separator) and the selection. Standard C++ only; any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/QuoteArgument.h"  // QuoteArgument, used with these texts

// projectDir + projectName + "_tmp.tak": the project copy handed to the checker.
std::string RulexTempProjectPath(const std::string& projectDir, const std::string& projectName);
// projectDir + "refqvd.lib" for a reference library, else projectDir + "qvd.lib".
std::string RulexLibraryListPath(const std::string& projectDir, bool referenceLibrary);

// The run directory: the RULEX rundir value, "./rulex" when there is none (or it is empty);
// a value beginning with "." is appended to projectDir ("./rulex" -> projectDir + "./rulex").
std::string RulexRunDirectory(const std::string& projectDir,
                              const std::optional<std::string>& rundir);

// Creates path and its missing parents, creating the prefix up to every "/" or "\" in turn;
// each step's failure (exists, root, permission) is ignored. Returns true when path is a
// directory afterwards, so that the caller can report one that could not be made.
bool MakeDirectoryPath(const std::string& path);

// ` -proj "<temp project>" -qvdlib "<list file>"`.
std::string RulexOptions(const std::string& tempProject, const std::string& listFile);
// ` -lib "<library>"`, then ` -cell "<cell>"` for each selected cell.
std::string RulexSelectionOptions(const std::string& library,
                                  const std::vector<std::string>& cells);
