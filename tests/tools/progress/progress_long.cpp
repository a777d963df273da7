// Stand-in tool that runs until it is stopped, with a child process in its process group.
//
//   progress-long <pid-file> [terms-to-exit]
//
// Writes "<own pid> <child pid>\n" to pid-file, prints a line every 100 ms, and exits after
// it has received terms-to-exit SIGTERMs (default 1); each SIGTERM is reported as a line
// "terminate <n>". The child only sleeps: it ends when its process group is signalled.
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {
volatile sig_atomic_t terms = 0;
void OnTerm(int) { terms = terms + 1; }
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: progress-long <pid-file> [terms-to-exit]\n");
    return 2;
  }
  const int termsToExit = argc > 2 ? std::atoi(argv[2]) : 1;
  const pid_t child = fork();
  if (child == 0) {
    for (;;) pause();
  }
  if (child < 0) {
    std::perror("fork");
    return 1;
  }
  struct sigaction action {};
  action.sa_handler = OnTerm;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  { std::ofstream(argv[1]) << getpid() << ' ' << child << '\n'; }
  int seen = 0;
  for (long tick = 1;; ++tick) {
    while (seen < terms) {
      ++seen;
      std::printf("terminate %d\n", seen);
      std::fflush(stdout);
    }
    if (seen >= termsToExit) return 3;
    std::printf("working %ld\n", tick);
    std::fflush(stdout);
    usleep(100 * 1000);
  }
}
