#include "verify/footprint/FootprintConsoleRun.h"

#include <iostream>

#include "base/FlowNames.h"
#include "verify/FlowWords.h"
#include "verify/footprint/FootprintRun.h"
#include "verify/footprint/FootprintTexts.h"

namespace {

// The options that take a value (also what `kestra verify` must not read as its own).
constexpr std::string_view kFootprintValued[] = {"-proj", "-name", "-location"};

constexpr const char* kVerifyUsage =
    "-proj FILE -name NAME [-location DIR]\n"
    "  checks NAME.dra as the layout editor does for a verify file; -location picks the folder\n"
    "  of the footprint search path when the drawing is in more than one";

FlowRun RunFootprintVerb(const std::vector<std::string>& words) {
  FlowRun run;
  const auto given =
      FlowWords::Parse(words, {}, kFootprintValued, {"-proj", "-name"}, run.usageError);
  if (!given) return run;
  FootprintRequest request{given->Value("-proj"), given->Value("-name"), given->Value("-location")};
  run.results = RunFootprint(request, std::cerr);
  return run;
}

}  // namespace

VerifyFlow FootprintVerifyFlow() {
  return {kFootprintFlow, "a footprint's drawing (.dra) on the project's footprint search path",
          kVerifyUsage,   RunFootprintVerb,
          nullptr,        kFootprintValued};
}
