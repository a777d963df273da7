#include "cmdline/VerifyFlows.h"

#include "verify/packaging/PackagingConsoleRun.h"
#include "verify/rulex/RulexConsoleRun.h"

std::span<const VerifyFlow> RegisteredFlows() {
  // One entry per flow, in the order `kestra verify` lists them.
  static const VerifyFlow flows[] = {
      RulexVerifyFlow(),
      PackagingVerifyFlow(),
  };
  return flows;
}
