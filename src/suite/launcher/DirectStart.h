// A direct start: a program composed from a caller's texts and started to run on by itself.
// Shared by the launcher's starts and the host's tool commands, which run without Qt.
// Standard C++ and POSIX only; any thread.
#pragma once

#include <string>
#include <vector>

#include "outside/SuiteExport.h"
#include "suite/launcher/LaunchLog.h"

// What to start: the program, its words and the launch log's record of it.
struct ToolLaunch {
  std::string program;
  std::vector<std::string> arguments;
  LaunchRecord record;
};

// The program of operation (ProgramResolver.h) and the words of executable and args, split as
// the Windows command line splits them. executable may carry options after the program name
// ("lum2xml.exe -product P"): they come before the words of args. owner: the owner window's
// class, or "none".
KESTRA_SUITE_API ToolLaunch ComposeLaunch(const char* operation, const std::string& executable,
                                          const std::string& args, const std::string& product,
                                          const std::string& owner);

// "Cannot start PROGRAM: REASON."
KESTRA_SUITE_API std::string StartFailure(const std::string& program, const std::string& reason);

// The launch's words as exec takes them: the program, its arguments and a null, pointing into
// launch (which must outlive them).
KESTRA_SUITE_API std::vector<char*> ExecArguments(const ToolLaunch& launch);

// Appends the launch record (KESTRA_LAUNCH_LOG) and starts the program in a session of its
// own, input from /dev/null, as no child of this process, so that it outlives it and is never
// left for this process to reap. Returns "" or the message for the user (StartFailure: the
// program missing or not executable, or the error of its exec).
KESTRA_SUITE_API std::string StartDirect(const ToolLaunch& launch);
