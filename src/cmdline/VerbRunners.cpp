#include "cmdline/VerbRunners.h"

#include <array>
#include <cstdlib>
#include <iostream>

#include "cmdline/VerifyFlows.h"
#include "verify/VerifyVerb.h"
#include "verify/all/VerifyAllVerb.h"

namespace {

int RunVerify(const std::vector<std::string>& words) {
  // A script has nobody to answer a message box: every message goes to standard error.
  ::setenv("KESTRA_NONINTERACTIVE", "1", 1);
  return RunVerifyVerb(words, RegisteredFlows(), std::cout, std::cerr);
}

int RunVerifyAllVerb(const std::vector<std::string>& words) {
  ::setenv("KESTRA_NONINTERACTIVE", "1", 1);
  return RunVerifyAll(words, RegisteredFlows(), std::cout, std::cerr);
}

constexpr std::array kRunners = {
    NamedRunner{"verify", &RunVerify},
    NamedRunner{"verify all", &RunVerifyAllVerb},
};

}  // namespace

VerbRunner ModuleVerbRunner(std::string_view name) { return FindRunner(kRunners, name); }
