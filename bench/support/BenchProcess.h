// Starting a command for a benchmark directly (no shell in between), its input from /dev/null
// and its output thrown away (or written to a file), and timing it from its start to its
// reaping: both sides of a comparison then pay the same process start and nothing else.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Starts command (found along PATH), its standard output to output (created or truncated);
// its process id. Aborts when it cannot start.
inline pid_t StartQuietly(const std::vector<std::string>& command,
                          const std::string& output = "/dev/null") {
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  extern char** environ;
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    std::abort();
  }
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

// The wall seconds of one run of command, started as StartQuietly starts it.
inline double RunQuietly(const std::vector<std::string>& command, int* exitStatus = nullptr,
                         const std::string& output = "/dev/null") {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = StartQuietly(command, output);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  if (exitStatus) *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
