// The yardstick for whole-process figures: a program that reads a file line by line with
// std::getline and does nothing else (prints the line count).
//
//   build/bench/bare_read FILE
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: bare_read FILE\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "bare_read: cannot open " << argv[1] << "\n";
    return 1;
  }
  std::string line;
  long lines = 0;
  while (std::getline(in, line)) ++lines;
  std::cout << lines << "\n";
  return 0;
}
