#include "cmdline/VerifyFlows.h"

#include "verify/footprint/FootprintConsoleRun.h"
#include "verify/packaging/PackagingConsoleRun.h"
#include "verify/rulex/RulexConsoleRun.h"
#include "verify/simulation/CellsimConsoleRun.h"
#include "verify/template/TemplateConsoleRun.h"

std::span<const VerifyFlow> RegisteredFlows() {
  // One entry per flow, in the order `kestra verify` lists them.
  static const VerifyFlow flows[] = {
      RulexVerifyFlow(),     CellsimVerifyFlow(),  FootprintVerifyFlow(),
      PackagingVerifyFlow(), TemplateVerifyFlow(),
  };
  return flows;
}
