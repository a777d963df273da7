#include "cmdline/HeadlessVerbs.h"

#include <cstdlib>
#include <iostream>

#include "verify/VerifyVerb.h"
#include "verify/rulex/RulexConsoleRun.h"

namespace {

const VerifyFlow& HeadlessRulex() {
  static const VerifyFlow flow = RulexVerifyFlow();
  return flow;
}

}  // namespace

std::optional<int> RunVerifyInHost(const std::vector<std::string>& words) {
  if (words.empty() || words.front() != HeadlessRulex().name) return std::nullopt;
  // A script has nobody to answer a message box: every message goes to standard error.
  ::setenv("KESTRA_NONINTERACTIVE", "1", 1);
  return RunVerifyVerb(words, {&HeadlessRulex(), 1}, std::cout, std::cerr);
}
