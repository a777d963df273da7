// Stand-in tool that writes short lines as fast as it can.
//
//   progress-flood <lines>
//
// Line n reads "flood line <n>" (with the number padded to 8 digits), so the output size is
// exactly 20 bytes per line.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  for (long n = 1; n <= lines; ++n) std::printf("flood line %08ld\n", n);
  return 0;
}
