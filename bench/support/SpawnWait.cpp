// spawn_wait PROGRAM ARGS...: starts the program and waits for it, nothing else. The least any
// host that runs a tool and waits for its end pays: bench/whole-process times it against the
// tool alone. Calls the C library only, so that it loads nothing else.
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  pid_t child = 0;
  if (::posix_spawn(&child, argv[1], nullptr, nullptr, argv + 1, environ) != 0) return 2;
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return 2;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
