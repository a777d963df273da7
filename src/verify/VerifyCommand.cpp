#include "VerifyCommand.h"

#include <iostream>

int RunVerifyCommand(const std::vector<std::string>& args) {
  std::cerr << "kestra verify: no flow is available yet" << (args.empty() ? "" : ": " + args[0])
            << "\n";
  return 2;
}
