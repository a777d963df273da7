// The simulation flow's folders and files in the project, the check of the librarian's paths,
// and the scratch directory in which cellsim runs. Standard C++ (and the suite's path
// helpers); these move the process's current directory, so UI thread only.
#pragma once

#include <string>

#include "verify/simulation/CellsimOptions.h"

// The project directory as the flow uses it: "./" when it is empty.
std::string CellsimProjectDirectory(const std::string& projectDir);
// The project directory made absolute from the current directory, ending in "/" (the current
// directory when it is empty). The flow enters folders as it goes, so a relative project
// directory would soon name another place.
std::string CellsimAbsoluteProjectDirectory(const std::string& projectDir);
// Project directory (or "./") + "temp_sim_test".
std::string CellsimScratchDirectory(const std::string& projectDir);
// Project directory + "/temp_sim_test/finalstatus.rep" (the separator doubles; it is harmless).
std::string CellsimFinalStatusPath(const std::string& projectDir);
// Project directory + "/temp_sim_test/cellsim_summary.rep".
std::string CellsimSummaryPath(const std::string& projectDir);
// The simulation tool below an install root, in tools/libutil/ (the launcher
// drops ".exe" where no such file exists).
std::string CellsimToolPath(const std::string& installRoot);

// Verify's path checks, taken from the project directory: with "Specify paths" a model (and
// UDP) directory that is given must be enterable and becomes absolute; with "Path to Options
// file" a given file's folder becomes absolute (a name without a folder stays as typed) and
// the file must exist. "" or the message to show. The current directory is the same after.
std::string ResolveCellsimPaths(const std::string& projectDir, CellsimSettings& settings);

// Deletes the scratch directory with its content, creates it anew and enters it. "" or the
// message to show (the current directory is then the project directory).
std::string EnterCellsimScratchDirectory(const std::string& projectDir);
