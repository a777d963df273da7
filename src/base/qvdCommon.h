// qvdCommon: the suite's install-tree services and setup-file search. Standard C++ only.
// Results are returned in std::string so that no path is ever truncated (the suite's C
// interface used 260-character buffers). Thread safe: no state beyond the environment.
#pragma once

#include <string>

// The install root: $QVD_INST_DIR when set, else the folder above the running program's
// directory (bin/). No trailing separator. "" when neither can be determined.
std::string qvdGetInstallRoot();

// The install root joined with relative ("qvdsetup/projmgr/qvd.tak"); null gives the root.
std::string qvdGetInstPath(const char* relative);

// Handle of the setup-file search service.
struct QsfSearchService;
using QSFHANDLE = QsfSearchService*;

// Error numbers of the qsf functions (0 is success).
enum : int {
  QSF_OK = 0,
  QSF_NOT_FOUND = 1,     // no folder of the search path holds the file
  QSF_BAD_ARGUMENT = 2,  // null handle or empty relative path
};

// Provides the search handle. 0 on success.
int qsfInitialize(QSFHANDLE* handle);

// Looks for relative in the folders of $QSF_SEARCH_PATH (":"-separated) when set, else ".",
// $HOME and <install root>/share, in that order; the first existing file wins and found is set
// to its path (folder + "/" + relative, so it may be relative, beginning with "."). 0 found.
int qsfSearch(QSFHANDLE handle, const std::string& relative, std::string& found);

// The message for a non-zero result of qsfInitialize or qsfSearch.
const char* qsfGetErrorMsg(int error);
