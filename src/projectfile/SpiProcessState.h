// The project-file library's process-wide state: located install, site and user files, the
// search handle, refusal logging, the session-lookup guard and the process's argument list.
// One thread only.
#pragma once

#include <string>
#include <vector>

#include "base/qvdCommon.h"

struct SpiProcessState {
  std::string installFilePath;  // each remembered after its first successful search
  std::string siteFilePath;
  std::string userFilePath;
  QSFHANDLE searchHandle = nullptr;
  bool refusalLogging = true;  // off while Save re-reads the install and site files
  bool sessionLookupBusy = false;
  std::vector<std::string> arguments;  // the command line, plus what the session lookup added
  bool argumentsLoaded = false;
  // The block an Open collects its log entries in, kept for the next Open of the process.
  std::string spareLogBuffer;
};

SpiProcessState& SpiState();

// The process's argument list (read from /proc/self/cmdline on first use). Tools and tests may
// change it; the session-name lookup searches and extends it.
std::vector<std::string>& SpiProcessArguments();

// Forgets the located files and the search handle, as in a new process. For tests and tools
// that open projects of different install trees in one process.
void SpiResetProcessState();
