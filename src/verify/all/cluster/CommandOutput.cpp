#include "verify/all/cluster/CommandOutput.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

extern char** environ;

namespace {

// Closes both ends of a pipe on every path out.
struct Pipe {
  int fds[2] = {-1, -1};
  ~Pipe() {
    for (int fd : fds)
      if (fd >= 0) ::close(fd);
  }
  bool Open() { return ::pipe2(fds, O_CLOEXEC) == 0; }
  void CloseWriteEnd() {
    ::close(fds[1]);
    fds[1] = -1;
  }
};

// Reads both pipes to their ends, so that neither a full output nor a full error pipe can
// stall the child.
void Drain(Pipe& out, Pipe& err, CommandOutput& result) {
  pollfd fds[2] = {{out.fds[0], POLLIN, 0}, {err.fds[0], POLLIN, 0}};
  std::string* texts[2] = {&result.out, &result.err};
  int open = 2;
  char buffer[8192];
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        fds[i].fd = -1;
        --open;
        continue;
      }
      if (texts[i]->size() < kCommandOutputLimit) texts[i]->append(buffer, std::size_t(got));
    }
  }
}

}  // namespace

CommandOutput RunCommand(const std::vector<std::string>& argv) {
  CommandOutput result;
  if (argv.empty()) {
    result.reason = "no program";
    return result;
  }
  Pipe out;
  Pipe err;
  if (!out.Open() || !err.Open()) {
    result.reason = std::string("cannot make a pipe: ") + std::strerror(errno);
    return result;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out.fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err.fds[1], 2);
  std::vector<char*> args;
  for (const std::string& word : argv) args.push_back(const_cast<char*>(word.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    result.reason = argv[0] + ": " + std::strerror(spawned);
    return result;
  }
  result.started = true;
  out.CloseWriteEnd();
  err.CloseWriteEnd();
  Drain(out, err, result);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

bool ProgramOnPath(const std::string& program) {
  if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
  }
  return false;
}
