// Stand-in tool: prints numbered lines spread evenly over a time span, then exits.
//
//   progress-lines [count [milliseconds [exit-code]]]     (defaults: 10 lines over 1000 ms, 0)
//
// Each line reads "line <n> of <count>" and is flushed at once, so that a reader sees the
// lines as they come.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10;
  const int milliseconds = argc > 2 ? std::atoi(argv[2]) : 1000;
  const int exitCode = argc > 3 ? std::atoi(argv[3]) : 0;
  const auto step = std::chrono::milliseconds(count > 0 ? milliseconds / count : 0);
  for (int n = 1; n <= count; ++n) {
    std::this_thread::sleep_for(step);
    std::printf("line %d of %d\n", n, count);
    std::fflush(stdout);
  }
  return exitCode;
}
