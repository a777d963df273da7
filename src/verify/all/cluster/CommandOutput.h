// A short helper program run to its end with what it printed kept: the scheduler's commands
// (sbatch, scontrol, sacct, scancel). Arguments go to the program as they are, never through a
// shell; standard input is /dev/null; the program is looked up on PATH. Standard C++ and
// POSIX; any thread (each call its own child).
#pragma once

#include <string>
#include <vector>

struct CommandOutput {
  bool started = false;  // false: the program could not be started (reason says why)
  int status = -1;       // the exit status; 128 + N when signal N ended it
  std::string out;       // standard output, at most kCommandOutputLimit bytes kept
  std::string err;       // standard error, likewise
  std::string reason;    // why it did not start
};

inline constexpr std::size_t kCommandOutputLimit = std::size_t{64} << 20;

CommandOutput RunCommand(const std::vector<std::string>& argv);

// Whether program names an executable file on PATH (or is itself a path to one).
bool ProgramOnPath(const std::string& program);
